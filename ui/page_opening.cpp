#include "ui/page_opening.h"

bool OpenWebPage(const std::wstring& address, bool elevated, const PageOpeners& openers) {
    if (elevated)
        return openers.throughDesktop && openers.throughDesktop(address);
    return openers.direct && openers.direct(address);
}
