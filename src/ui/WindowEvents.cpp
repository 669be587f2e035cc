#include "ui/WindowEvents.h"

namespace orv {

bool WindowEvents::SettleUnsavedWork() const {
    for (const auto& guard : guards_) {
        if (!guard())
            return false;
    }
    return true;
}

void WindowEvents::LanguageChanged(Language language) const {
    for (const auto& handler : languageChanged_)
        handler(language);
}

void WindowEvents::Run(const std::vector<Handler>& handlers) {
    for (const Handler& handler : handlers)
        handler();
}

}  // namespace orv
