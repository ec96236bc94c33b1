#include "pagekit/PageRegistry.h"

#include <QCoreApplication>

#include <algorithm>

QString PageEntry::translatedTitle() const
{
    return QCoreApplication::translate("CenterWindow", title);
}

void PageRegistry::append(const PageEntry& entry)
{
    entries.append(entry);
}

void PageRegistry::addStartupStep(std::function<void()> step, bool administratorsOnly)
{
    steps.append({std::move(step), administratorsOnly});
}

void PageRegistry::runStartupSteps(bool administrator) const
{
    for (const StartupStep& step : steps) {
        if (administrator || !step.administratorsOnly)
            step.run();
    }
}

QList<PageEntry> PageRegistry::pagesFor(bool administrator) const
{
    QList<PageEntry> pages;
    for (const PageEntry& entry : entries) {
        if (administrator || !entry.administratorsOnly)
            pages.append(entry);
    }
    return pages;
}

QList<PageEntry> PageRegistry::startupOrder(bool administrator) const
{
    QList<PageEntry> pages = pagesFor(administrator);
    std::stable_sort(pages.begin(), pages.end(), [](const PageEntry& a, const PageEntry& b) {
        return a.startupRank < b.startupRank;
    });
    return pages;
}

const PageEntry* PageRegistry::find(const QString& key) const
{
    for (const PageEntry& entry : entries) {
        if (entry.key == key)
            return &entry;
    }
    return nullptr;
}
