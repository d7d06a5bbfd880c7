#pragma once

#include <memory>

namespace vd {

class TPlayer;

// The player on the session bus as an MPRIS 2 media player, so that the desktop's media
// controls, media keys and playerctl drive it. Every method goes through the same window
// operations as the buttons and menus, on the GUI thread; property changes are announced as the
// window shows them. GUI thread only.
class MprisService {
public:
    // Registers org.mpris.MediaPlayer2.vodezaru (or, when another player holds that name,
    // org.mpris.MediaPlayer2.vodezaru.instance<pid>). Without a session bus there is nothing to
    // register with: returns nullptr and the player runs on without saying so.
    [[nodiscard]] static std::unique_ptr<MprisService> Start(TPlayer& player);
    ~MprisService();
    MprisService(const MprisService&) = delete;
    MprisService& operator=(const MprisService&) = delete;

    struct Impl;

private:
    explicit MprisService(std::unique_ptr<Impl> impl);
    std::unique_ptr<Impl> impl_;
};

} // namespace vd
