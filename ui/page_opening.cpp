#include "ui/page_opening.h"

bool OpenWebPage(const std::wstring& address, bool elevated, const PageOpeners& openers) {
    if (elevated && openers.throughDesktop && openers.throughDesktop(address))
        return true;
    return openers.direct && openers.direct(address);
}
