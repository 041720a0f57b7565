#include "MethodSelection.h"

#include "AppSettings.h"

MethodSelection::MethodSelection(MethodTable &methods, AppSettings &settings, Hooks hooks)
    : m_methods(methods), m_settings(settings), m_hooks(std::move(hooks))
{}

void MethodSelection::onChanged(int method)
{
    const int value = m_hooks.isTicked(method) ? 1 : 0;
    m_methods[method] = value;
    if (!m_settings.writeMethod(method, value) && !m_toldNotKept && m_hooks.warnNotKept) {
        m_toldNotKept = true;
        m_hooks.warnNotKept();
    }

    for (int m = 1; m <= 5; ++m) {
        if (m_methods[m] == 1) {
            m_hooks.classerSyndromes();
            return;
        }
    }
    m_hooks.warnNoMethod();
    // Ticking box 1 runs this handling again for it: that run stores it and ranks.
    m_hooks.tick(1);
}
