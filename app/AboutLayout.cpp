#include "app/AboutBox.h"
#include "app/Layout.h"

#include <array>

namespace vd {

namespace {

using namespace layout;

constexpr Font kArial8{"Arial", 8, true, clWindowText};
constexpr Font kSansBold{"MS Sans Serif", 8, true, clWindowText};
constexpr Font kDialogFont{"MS Sans Serif", 8, false, clWindowText};
constexpr Font kButtonFont{"MS Sans Serif", 8, true, clBlack};

// Every label is raised: a highlight copy one pixel up and left on the dialog's grey.
const std::array kAboutLayout = {
    Entry{"Image1", "", Image{{120, 0, 130, 99}, ":/about/about.gif"}},
    Entry{"ShadowLabel1", "",
          ShadowLabel{{32, 8, 46, 19}, "About", {"Arial", 12, true, clWindowText}}},
    Entry{"ShadowLabel11", "",
          ShadowLabel{{12, 32, 94, 22}, "VO Dezaru", {"Arial", 14, true, clWindowText}}},
    Entry{"ShadowLabel2", "", ShadowLabel{{8, 88, 86, 14}, "By the VO Dezaru developers", kArial8}},
    Entry{"ShadowLabel3", "",
          ShadowLabel{{8, 104, 200, 14}, "\xC2\xA9 2026 the VO Dezaru developers", kArial8}},
    Entry{"ShadowLabel4", "", ShadowLabel{{8, 120, 159, 14}, kHomePage, kArial8}},
    Entry{"ShadowLabel10", "", ShadowLabel{{8, 144, 129, 13}, "VO Dezaru version: 1.0", kSansBold}},
    Entry{"ShadowLabel5", "",
          ShadowLabel{{5, 168, 238, 39},
                      "  VO Dezaru is a multimedia player created specially for Velora fans. "
                      "Hope you like our player.",
                      kSansBold,
                      false,
                      true}},
    Entry{"ShadowLabel6", "",
          ShadowLabel{{8, 216, 228, 13}, "  The player supports the following files:", kSansBold}},
    Entry{"ShadowLabel7", "",
          ShadowLabel{{8, 232, 233, 13},
                      "Midi Sequence (mid, rmi, midi), Wave Audio (wav)",
                      {"MS Sans Serif", 9, false, clWindowText}}},
    Entry{
        "ShadowLabel8", "",
        ShadowLabel{{24, 248, 200, 13}, "Module Music (mod, xm, it, s3m, mtm, umx)", kDialogFont}},
    Entry{"ShadowLabel9", "",
          ShadowLabel{{56, 264, 138, 13}, "Mpeg Audio (mp3, mp2, mp1)", kDialogFont}},
    Entry{"CloseBtn", "", SpeedButton{{2, 283, 116, 22}, "Close", kButtonFont, "CloseBtnClick"}},
    Entry{"UpdateBtn", "",
          SpeedButton{{132, 283, 113, 22}, "Update", kButtonFont, "UpdateBtnClick"}},
    // The main window's painter settings, but it looks for nothing new on its own.
    Entry{"FlatMenu1", "", FlatMenu{.auto_detect = false}},
};

} // namespace

std::span<const layout::Entry> AboutDialogLayout() {
    return kAboutLayout;
}

} // namespace vd
