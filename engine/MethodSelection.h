#pragma once

#include "Ranking.h"

#include <functional>

class AppSettings;

// What a change of a method box does: keep the table and the settings in step, rank
// again, and never leave the practitioner without a chosen method.
class MethodSelection
{
public:
    struct Hooks {
        std::function<bool(int method)> isTicked;
        // Ticks a box; when that changes it, the toolkit reports the change, which comes
        // back here as onChanged(method) before tick returns.
        std::function<void(int method)> tick;
        std::function<void()> classerSyndromes;
        // The beep and the "Erreur de manipulation" message.
        std::function<void()> warnNoMethod;
        // The settings store could not keep the choice; said once in a run.
        std::function<void()> warnNotKept;
    };

    MethodSelection(MethodTable &methods, AppSettings &settings, Hooks hooks);

    // Change of box k (1 to 5), whether from the user or the program.
    void onChanged(int method);

private:
    MethodTable &m_methods;
    AppSettings &m_settings;
    Hooks m_hooks;
    bool m_toldNotKept = false;
};
