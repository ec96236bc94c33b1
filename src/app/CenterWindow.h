#pragma once

#include "core/CardInfo.h"
#include "framework/FCenterWindow.h"
#include "pagekit/ProcessSingleton.h"

#include <QList>

class MatrixModel;
class QVariantAnimation;

// Central page of the main window: the navigation and the page stack, built from the console's
// page registry, and the model of the matrix (port records, routing map, reply parser, device
// queries), whose operations it offers under the same names. 100 ms after construction it runs
// the start-up sequence once.
class CenterWindow : public FCenterWindow
{
    Q_OBJECT
public:
    static CenterWindow* instance();
    static bool exists() { return ProcessSingleton<CenterWindow>::exists(); }
    ~CenterWindow() override;

    CardInfo getCardInfo(int port) const;
    void setCardInfo(int port, const CardInfo& record);
    bool hasCard(int port) const;
    int cardCount() const;
    int getRoute(int output) const;
    void setRoute(int output, int input);
    void setRoutes(int mode, int input, int output);
    QList<int> outputsOfInput(int input) const;
    int countChar() const;
    void loadCardConfig();
    void saveCardConfig();
    void queryIOStatus();
    void queryIpCardAddresses();

    MatrixModel* model() const { return matrixModel; }
    // True once the start-up sequence has run to its end.
    bool isStartupFinished() const { return startupFinished; }
    // True while the start-up sequence runs (it pumps events between its steps).
    bool isStartupRunning() const { return startupRunning; }

public slots:
    void slotNavgationClicked(QString ObjectName);
    // Slides the new page in from the side of its button: from the left when it lies before
    // the old page, from the right when it lies after it.
    void cloudAntimation(animation_Direction direction) override;
    void initSubSystem();
    void clientReceived(QString recvStr);

signals:
    void startupFinishedChanged();

protected:
    void timerEvent(QTimerEvent* event) override;

private:
    friend class ProcessSingleton<CenterWindow>;
    CenterWindow();
    void initNavigation();
    // The start-up after the first status query: addresses, pages, previews, first page shown.
    void runStartupSteps();

    static constexpr int kSlideMs = 250;

    int startupTimerId = 0;
    MatrixModel* matrixModel;
    QVariantAnimation* pageSlide;
    bool startupFinished = false;
    bool startupRunning = false;
};
