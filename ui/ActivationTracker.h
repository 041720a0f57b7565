#pragma once

// Decides when the main window's becoming active counts as an activation that re-ranks:
// its first display and every return from another window of the program (a dialog, the
// progress window, the about box, the help window), but not a switch back from another
// application, and not the close of a message box (those are answers, not windows the
// practitioner worked in; re-ranking there could also loop on a failing database).
class ActivationTracker
{
public:
    enum class Window { None, Main, Other, MessageBox };

    // Reports which window of the program now has the focus (None when the program lost
    // it to another application); returns true when the main window's activation step
    // must run.
    bool focusChanged(Window window)
    {
        if (window == Window::None)
            return false;
        const bool activation = window == Window::Main && (m_last == Window::None || m_last == Window::Other);
        m_last = window;
        return activation;
    }

private:
    Window m_last = Window::None;
};
