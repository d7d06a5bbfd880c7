#include "framework/SystemFonts.h"

#include <string>

namespace vd {

namespace {

struct MenuFontSetting {
    std::string name = "Tahoma";
    int height = -11;
};

MenuFontSetting& Setting() {
    static MenuFontSetting setting; // GUI thread only
    return setting;
}

} // namespace

TFont SystemMenuFont() {
    TFont font;
    font.SetName(Setting().name);
    font.SetHeight(Setting().height);
    font.SetColor(clMenuText);
    return font;
}

void SetSystemMenuFont(std::string_view name, int height) {
    Setting().name = name;
    Setting().height = height;
}

} // namespace vd
