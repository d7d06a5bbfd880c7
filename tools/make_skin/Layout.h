#pragma once

#include <QRect>

#include <array>
#include <string_view>

// Where the main window puts its controls over the background. The artwork is drawn around
// these rectangles, so they must stay in step with the window's layout.
namespace vd::art {

inline constexpr int kSkinWidth = 518;
inline constexpr int kSkinHeight = 425;

struct ControlBox {
    std::string_view name;
    QRect rect;
};

inline constexpr QRect kTitleLabel{36, 85, 265, 13};
inline constexpr QRect kPositionCaption{7, 107, 40, 13};
inline constexpr QRect kPosLabel{48, 107, 105, 13};
inline constexpr QRect kMenuBtn{4, 88, 9, 8};
inline constexpr QRect kSeekSlider{4, 182, 295, 8};
inline constexpr QRect kRowBar{226, 168, 73, 9};
inline constexpr QRect kPlaylistShow{6, 224, 251, 116};
// The format lamps (MOD, MIDI, MPEG, WAVE) right of the position glass.
inline constexpr QRect kFormatLamps{186, 109, 92, 11};

inline constexpr int kTransportTop = 195;
inline constexpr int kTransportHeight = 14;
inline constexpr QRect kPrevBtn{15, kTransportTop, 22, kTransportHeight};
inline constexpr QRect kPlayBtn{37, kTransportTop, 21, kTransportHeight};
inline constexpr QRect kPauseBtn{58, kTransportTop, 23, kTransportHeight};
inline constexpr QRect kStopBtn{81, kTransportTop, 22, kTransportHeight};
inline constexpr QRect kNextBtn{103, kTransportTop, 23, kTransportHeight};
inline constexpr QRect kEjectBtn{126, kTransportTop, 22, kTransportHeight};

inline constexpr int kListBtnTop = 349;
inline constexpr QRect kAddBtn{10, kListBtnTop, 45, 14};
inline constexpr QRect kRemoveBtn{55, kListBtnTop, 45, 14};
inline constexpr QRect kSortBtn{100, kListBtnTop, 45, 14};
inline constexpr QRect kLoadBtn{170, kListBtnTop, 45, 14};
inline constexpr QRect kSaveBtn{215, kListBtnTop, 45, 14};

inline constexpr std::array<ControlBox, 20> kControls{{
    {"TitleLabel", kTitleLabel},
    {"Position_Label", kPositionCaption},
    {"PosLabel", kPosLabel},
    {"MenuBtn", kMenuBtn},
    {"ProgressBar", kSeekSlider},
    {"ProgressBar2", kRowBar},
    {"PlaylistShow", kPlaylistShow},
    {"PrevBtn", kPrevBtn},
    {"PlayBtn", kPlayBtn},
    {"PauseBtn", kPauseBtn},
    {"StopBtn", kStopBtn},
    {"NextBtn", kNextBtn},
    {"EjectBtn", kEjectBtn},
    {"AddFiles", kAddBtn},
    {"Removefile", kRemoveBtn},
    {"SortBtn", kSortBtn},
    {"LoadBtn", kLoadBtn},
    {"SaveBtn", kSaveBtn},
    {"TitlePanel", QRect{34, 83, 270, 18}},
    {"PositionPanel", QRect{5, 105, 151, 18}},
}};

// The slider thumb and the row-bar cell, as cut by the controls.
inline constexpr int kThumbWidth = 20;
inline constexpr int kThumbHeight = 6;
inline constexpr int kCellWidth = 14;
inline constexpr int kCellHeight = 4;
// The row bar draws its cells centred vertically: (9 - 4) / 2.
inline constexpr int kCellTopInBar = 2;

} // namespace vd::art
