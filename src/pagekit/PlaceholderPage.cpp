#include "pagekit/PlaceholderPage.h"

#include "pagekit/StyledBackground.h"

#include <QHash>
#include <QPointer>

PlaceholderPage* PlaceholderPage::instance(const QString& key)
{
    static QHash<QString, QPointer<PlaceholderPage>> pages;
    QPointer<PlaceholderPage>& page = pages[key];
    if (!page)
        page = new PlaceholderPage(key);
    return page.data();
}

PlaceholderPage::PlaceholderPage(const QString& key)
    : QWidget(nullptr)
{
    setObjectName(key + QStringLiteral("Page"));
}

void PlaceholderPage::paintEvent(QPaintEvent* event)
{
    Q_UNUSED(event)
    paintStyledBackground(this);
}
