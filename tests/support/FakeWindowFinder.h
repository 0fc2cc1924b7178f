#pragma once

#include "platform/WindowFinder.h"

#include <QStringList>
#include <vector>

// A desktop whose windows a test opens and closes.
class FakeWindowFinder : public WindowFinder {
public:
    struct Win {
        QString title;
        QString className;
        bool iconic = false;
        bool active = false;
        int suiteMessages = 0;
    };

    std::vector<Win> windows;

    void open(const QString& title, const QString& className = QString(), bool iconic = false)
    {
        windows.push_back({title, className, iconic});
    }
    void closeAll() { windows.clear(); }

    Window findByClass(const QString& className) override
    {
        for (size_t i = 0; i < windows.size(); ++i)
            if (windows[i].className == className)
                return i + 1;
        return 0;
    }
    Window findByTitle(const QString& title) override
    {
        for (size_t i = 0; i < windows.size(); ++i)
            if (windows[i].title.compare(title, Qt::CaseInsensitive) == 0)
                return i + 1;
        return 0;
    }
    bool isIconic(Window w) override { return valid(w) && windows[w - 1].iconic; }
    void showMinimized(Window w) override
    {
        if (valid(w))
            windows[w - 1].iconic = true;
    }
    void activate(Window w) override
    {
        if (valid(w))
            windows[w - 1].active = true;
    }
    void sendSuiteMessage(Window w) override
    {
        if (valid(w))
            ++windows[w - 1].suiteMessages;
    }

private:
    bool valid(Window w) const { return w >= 1 && w <= windows.size(); }
};
