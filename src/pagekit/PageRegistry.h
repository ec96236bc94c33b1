#pragma once

#include <QList>
#include <QString>

#include <functional>

class QWidget;

// One page of the main window's navigation. A page class offers the singleton accessor
// instance() and initConfig(bool): false builds its contents the first time (start-up
// sequence), true refreshes them when its navigation button is pressed.
struct PageEntry
{
    QString key;                   // object name of the navigation button ("Switch")
    const char* title = nullptr;   // button text, translated in the context "CenterWindow"
    bool administratorsOnly = true;
    int startupRank = 0;           // pages initialise in rising rank at start-up
    std::function<QWidget*()> instance;
    std::function<void(bool update)> initConfig;

    QString translatedTitle() const;
};

// The pages of the console in navigation order. The application registers every page once
// (one line each); the central page builds its navigation, its start-up sequence and its
// navigation refresh from this list alone.
class PageRegistry
{
public:
    template <typename Page>
    void add(const QString& key, const char* title, bool administratorsOnly, int startupRank)
    {
        append({key, title, administratorsOnly, startupRank, [] { return Page::instance(); },
                [](bool update) { Page::instance()->initConfig(update); }});
    }

    void append(const PageEntry& entry);

    // A step of the start-up sequence that runs after every page was initialised (the previews).
    void addStartupStep(std::function<void()> step, bool administratorsOnly);
    void runStartupSteps(bool administrator) const;

    // The pages a user of this kind sees, in navigation order.
    QList<PageEntry> pagesFor(bool administrator) const;
    // The same pages in start-up order.
    QList<PageEntry> startupOrder(bool administrator) const;
    // The page with this navigation key, or null.
    const PageEntry* find(const QString& key) const;

private:
    struct StartupStep
    {
        std::function<void()> run;
        bool administratorsOnly;
    };
    QList<PageEntry> entries;
    QList<StartupStep> steps;
};
