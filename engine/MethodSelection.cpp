#include "MethodSelection.h"

#include "AppSettings.h"

MethodSelection::MethodSelection(MethodTable &methods, AppSettings &settings, Hooks hooks)
    : m_methods(methods), m_settings(settings), m_hooks(std::move(hooks))
{}

void MethodSelection::onChanged(int method)
{
    const int value = m_hooks.isTicked(method) ? 1 : 0;
    m_methods[method] = value;
    m_settings.writeMethod(method, value);

    for (int m = 1; m <= 5; ++m) {
        if (m_methods[m] == 1) {
            m_hooks.classerSyndromes();
            return;
        }
    }
    m_hooks.warnNoMethod();
    // Ticking box 1 runs this handling again for it when the box was unticked, and that
    // run ranks. A box 1 already ticked (with a stored value that did not count) reports
    // nothing, so the ranking is run here: the list must not keep the syndromes of
    // methods no longer chosen.
    const bool reportsBack = !m_hooks.isTicked(1);
    m_hooks.tick(1);
    m_methods[1] = 1;
    m_settings.writeMethod(1, 1);
    if (!reportsBack)
        m_hooks.classerSyndromes();
}
