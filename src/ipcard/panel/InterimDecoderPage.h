#pragma once

// The decoder tab of the IP card panel until the full decoder page takes its place: the card's
// video sources as the decoder lists them, reloaded from the card on demand.

#include "VideoSourceProto.pb.h"

#include <QWidget>

class DeviceToHisilicon;
class QPushButton;
class QTreeWidget;

class InterimDecoderPage : public QWidget
{
    Q_OBJECT
public:
    explicit InterimDecoderPage(QWidget* parent = nullptr);

    void setDevice(DeviceToHisilicon* link);
    // Its lowest bit names the decoder output of the card.
    void setCardIndex(int index);
    void fillVideoSourceTree(const com::kiv::protobuf::VideoSourceGroupManage& list);

public slots:
    // Reads the card's video sources and shows them; a refusal shows its error code.
    void on_pushButtonRefrush_clicked();

protected:
    void changeEvent(QEvent* event) override;

private:
    void retranslateUi();

    DeviceToHisilicon* link = nullptr;
    int cardIndex = 0;
    QTreeWidget* tree;
    QPushButton* refreshButton;
};
