#include "app/MprisState.h"

#include <gtest/gtest.h>

namespace vd {
namespace {

MprisState Playing() {
    MprisState state;
    state.status = PlaybackStatus::Playing;
    state.track = {
        "/io/github/vodezaru/VODezaru/Track/3", "tune", "file:///m/tune.mod", "", "", 61'000'000};
    state.can_go_next = state.can_go_previous = state.can_play = state.can_pause = true;
    state.can_seek = true;
    return state;
}

TEST(MprisState, AnnouncesExactlyWhatChanged) {
    const MprisState before = Playing();
    EXPECT_TRUE(ChangedProperties(before, before).empty());

    MprisState paused = before;
    paused.status = PlaybackStatus::Paused;
    EXPECT_EQ(ChangedProperties(before, paused), std::vector<std::string>{"PlaybackStatus"});

    MprisState next = before;
    next.track.track_id = "/io/github/vodezaru/VODezaru/Track/4";
    next.can_seek = false;
    EXPECT_EQ(ChangedProperties(before, next), (std::vector<std::string>{"Metadata", "CanSeek"}));

    MprisState quieter = before;
    quieter.volume = 0.5;
    quieter.can_go_next = quieter.can_go_previous = false;
    EXPECT_EQ(ChangedProperties(before, quieter),
              (std::vector<std::string>{"Volume", "CanGoNext", "CanGoPrevious"}));
}

TEST(MprisState, StatusTextsAreTheInterfacesWords) {
    EXPECT_EQ(StatusText(PlaybackStatus::Playing), "Playing");
    EXPECT_EQ(StatusText(PlaybackStatus::Paused), "Paused");
    EXPECT_EQ(StatusText(PlaybackStatus::Stopped), "Stopped");
}

TEST(MprisState, TitleIsTheWindowsTitleWithoutThePlayersName) {
    EXPECT_EQ(TrackTitle("song.wav - VO Dezaru"), "song.wav");
    EXPECT_EQ(TrackTitle("Dezaru Dawn - VO Dezaru"), "Dezaru Dawn");
    EXPECT_EQ(TrackTitle(" - VO Dezaru"), "");
    EXPECT_EQ(TrackTitle("VO Dezaru"), "VO Dezaru");
    EXPECT_EQ(TrackTitle("a - VO Dezaru - VO Dezaru"), "a - VO Dezaru");
}

TEST(MprisState, TrackIdsLiveUnderThePlayersOwnPath) {
    EXPECT_EQ(TrackIdFor("/io/github/vodezaru/VODezaru", 7),
              "/io/github/vodezaru/VODezaru/Track/7");
}

TEST(MprisState, FileUrlsEscapeWhatAPathCannotCarry) {
    EXPECT_EQ(FileUrl("/music/a b/Été #1.mod"), "file:///music/a%20b/%C3%89t%C3%A9%20%231.mod");
    EXPECT_EQ(FileUrl("/x/y-z_1.wav"), "file:///x/y-z_1.wav");
}

TEST(MprisState, UrisGiveLocalPathsOnly) {
    EXPECT_EQ(PathOfUri("file:///music/a%20b/%C3%89t%C3%A9%20%231.mod"), "/music/a b/Été #1.mod");
    EXPECT_EQ(PathOfUri(FileUrl("/odd/100%/x.wav")), "/odd/100%/x.wav");
    EXPECT_EQ(PathOfUri("file://localhost/m/x.mod"), "/m/x.mod");
    EXPECT_EQ(PathOfUri("/plain/path.mid"), "/plain/path.mid");
    EXPECT_EQ(PathOfUri("file://elsewhere/m/x.mod"), "");
    EXPECT_EQ(PathOfUri("http://example.org/x.mp3"), "");
    EXPECT_EQ(PathOfUri("file:///bad%2"), "/bad%2");
}

TEST(MprisState, OnlyAJumpCountsAsASeek) {
    // Playing on: the position moves with the clock.
    EXPECT_FALSE(PositionJumped(5000, 5100, 100, true));
    EXPECT_FALSE(PositionJumped(5000, 5900, 100, true)); // a late timer, not a seek
    EXPECT_TRUE(PositionJumped(5000, 10'000, 100, true));
    EXPECT_TRUE(PositionJumped(30'000, 2000, 100, true)); // backwards, as a module's jump
    // Paused or stopped: the position stands.
    EXPECT_FALSE(PositionJumped(5000, 5000, 3000, false));
    EXPECT_TRUE(PositionJumped(5000, 10'000, 3000, false));
}

} // namespace
} // namespace vd
