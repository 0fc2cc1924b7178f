#include "platform/win32/Win32WindowFinder.h"

#include "platform/win32/TopLevelWindows.h"

WindowFinder::Window Win32WindowFinder::findByClass(const QString& className)
{
    return win32::FindWindowOfClass(className.toStdWString());
}

WindowFinder::Window Win32WindowFinder::findByTitle(const QString& title)
{
    return win32::FindWindowWithTitle(title.toStdWString());
}

bool Win32WindowFinder::isIconic(Window window)
{
    return win32::IsMinimised(window);
}

void Win32WindowFinder::showMinimized(Window window)
{
    win32::ShowMinimised(window);
}

void Win32WindowFinder::activate(Window window)
{
    win32::BringToFront(window);
}

void Win32WindowFinder::sendSuiteMessage(Window window)
{
    win32::SendSuiteMessage(window);
}
