// The format lamps: which lamp a file lights, how the control draws it, and how the window keeps
// it in step with what plays.
#include "app/FormatLamps.h"
#include "audio/ModLib.h"
#include "framework/Timer.h"
#include "skin/VsSkin.h"
#include "tests/support/AppFixture.h"
#include "tests/support/MediaTestSupport.h"
#include "tests/support/TestModules.h"
#include "tools/modwriter/ModWriter.h"

#include <QImage>

#include <sndfile.h>

namespace vd::test {
namespace {

TEST(FormatLamps, EachKindLightsItsLampAndNothingElseLightsAny) {
    EXPECT_EQ(LampFor(FileKind::Module, ""), FormatLamp::Mod);
    EXPECT_EQ(LampFor(FileKind::Module, "/music/song.wav"), FormatLamp::Mod); // the kind decides
    for (const char* path : {"/a/b.mid", "b.midi", "b.rmi"})
        EXPECT_EQ(LampFor(FileKind::Media, path), FormatLamp::Midi) << path;
    for (const char* path : {"b.mp1", "b.mp2", "/x y/b.mp3"})
        EXPECT_EQ(LampFor(FileKind::Media, path), FormatLamp::Mpeg) << path;
    EXPECT_EQ(LampFor(FileKind::Media, "b.wav"), FormatLamp::Wave);
    EXPECT_EQ(LampFor(FileKind::Media, "b.ogg"), FormatLamp::Off);
    EXPECT_EQ(LampFor(FileKind::Media, "wav"), FormatLamp::Off);
    EXPECT_EQ(LampFor(FileKind::None, "b.mid"), FormatLamp::Off);
}

// Pictures of four lamps 6 x 3 pixels, each row of them one colour.
TBitmap FourColours() {
    TBitmap pictures(6, 12);
    const TColor colours[] = {clRed, clLime, clBlue, clYellow};
    for (int lamp = 0; lamp < 4; ++lamp)
        for (int y = 0; y < 3; ++y)
            for (int x = 0; x < 6; ++x)
                pictures.Canvas().SetPixel(x, lamp * 3 + y, colours[lamp]);
    return pictures;
}

// What the control paints over a grey picture, as the colour of each of its pixels (or 0 when
// they differ).
QRgb Painted(TFormatLamps& lamps) {
    QImage picture(10, 8, QImage::Format_RGB32);
    picture.fill(qRgb(128, 128, 128));
    lamps.PaintInto(picture, {0, 0, 10, 8});
    const QRgb first = picture.pixel(2, 1);
    for (int y = 1; y < 4; ++y)
        for (int x = 2; x < 8; ++x)
            if (picture.pixel(x, y) != first)
                return 0;
    EXPECT_EQ(picture.pixel(1, 1), qRgb(128, 128, 128)) << "painted outside its bounds";
    EXPECT_EQ(picture.pixel(2, 4), qRgb(128, 128, 128)) << "painted outside its bounds";
    return first & 0xFFFFFFu;
}

TEST(FormatLamps, TheLitLampsPictureIsDrawnAndNothingWhenAllAreDark) {
    AppHarness::App();
    std::unique_ptr<TFormatLamps, void (*)(TFormatLamps*)> lamps(
        TComponent::Create<TFormatLamps>(nullptr), [](TFormatLamps* l) { FreeComponent(l); });
    lamps->SetBounds(2, 1, 6, 3);
    lamps->SetPictures(FourColours());
    EXPECT_FALSE(lamps->Enabled()) << "an indicator takes no input";
    EXPECT_EQ(lamps->Lit(), FormatLamp::Off);
    EXPECT_EQ(Painted(*lamps), 0x808080u);
    lamps->SetLit(FormatLamp::Mod);
    EXPECT_EQ(Painted(*lamps), 0xFF0000u);
    lamps->SetLit(FormatLamp::Midi);
    EXPECT_EQ(Painted(*lamps), 0x00FF00u);
    lamps->SetLit(FormatLamp::Mpeg);
    EXPECT_EQ(Painted(*lamps), 0x0000FFu);
    lamps->SetLit(FormatLamp::Wave);
    EXPECT_EQ(Painted(*lamps), 0xFFFF00u);
    lamps->SetLit(FormatLamp::Off);
    EXPECT_EQ(Painted(*lamps), 0x808080u);
    // Pictures that lack the lit lamp's row leave the skin's print alone.
    lamps->SetPictures(TBitmap(6, 6));
    lamps->SetLit(FormatLamp::Mpeg);
    EXPECT_EQ(Painted(*lamps), 0x808080u);
}

class WindowLamps : public PlayerFixture {
protected:
    void TearDown() override {
        MODLIB_Free();
        PlayerFixture::TearDown();
    }
    std::string Module() {
        SongShape shape;
        shape.title = "Lamp";
        shape.orders = 4;
        const std::string path = Scratch("lamp.mod").string();
        modwriter::save_mod(make_song(shape), path);
        return path;
    }
    std::string Wave() {
        const std::string path = Scratch("lamp.wav").string();
        test::write_wave(path, SF_FORMAT_PCM_16, 44100, 2, test::tones(44100 * 3, 2, 44100, 440.0));
        return path;
    }
};

TEST_F(WindowLamps, TheLampsLieBesideThePositionAndLetPressesThroughToTheSkin) {
    TPlayer& player = Start();
    ASSERT_NE(player.FormatLamps, nullptr);
    EXPECT_EQ(player.FormatLamps->Parent(), player.Skin);
    EXPECT_EQ(player.FormatLamps->BoundsRect(), Bounds(186, 109, 92, 11));
    EXPECT_EQ(player.FormatLamps->Pictures().Width(), 92);
    EXPECT_EQ(player.FormatLamps->Pictures().Height(), 4 * 11);
    EXPECT_EQ(player.Skin->ControlAtPos({200, 113}), nullptr);
    player.NextTimerTimer(nullptr);
    EXPECT_EQ(player.FormatLamps->Lit(), FormatLamp::Off);
}

TEST_F(WindowLamps, AModuleLightsModThroughAPauseUntilStop) {
    TPlayer& player = Start({Module()});
    player.NextTimerTimer(nullptr);
    EXPECT_EQ(player.FormatLamps->Lit(), FormatLamp::Mod);
    player.PauseBtnClick(nullptr);
    player.NextTimerTimer(nullptr);
    EXPECT_EQ(player.FormatLamps->Lit(), FormatLamp::Mod) << "paused is still the file that plays";
    player.StopBtnClick(nullptr);
    player.NextTimerTimer(nullptr);
    EXPECT_EQ(player.FormatLamps->Lit(), FormatLamp::Off);
    player.NextBtnClick(nullptr); // the one entry again
    player.NextTimerTimer(nullptr);
    EXPECT_EQ(player.FormatLamps->Lit(), FormatLamp::Mod);
}

TEST_F(WindowLamps, AWaveFileLightsWaveAndAModuleAfterItTakesOver) {
    TPlayer& player = Start({Wave()});
    player.NextTimerTimer(nullptr);
    EXPECT_EQ(player.FormatLamps->Lit(), FormatLamp::Wave);
    player.PauseBtnClick(nullptr);
    player.NextTimerTimer(nullptr);
    EXPECT_EQ(player.FormatLamps->Lit(), FormatLamp::Wave);
    player.Entries().Append(Module());
    player.NextBtnClick(nullptr); // the wave file is the selected entry: the module follows it
    player.NextTimerTimer(nullptr);
    EXPECT_EQ(player.FormatLamps->Lit(), FormatLamp::Mod);
    player.StopBtnClick(nullptr);
    player.NextTimerTimer(nullptr);
    EXPECT_EQ(player.FormatLamps->Lit(), FormatLamp::Off);
    EXPECT_TRUE(AppHarness::Errors().empty());
}

TEST_F(WindowLamps, AModuleThatDoesNotLoadLightsNothing) {
    TPlayer& player = Start({Scratch("absent.mod").string()});
    player.NextTimerTimer(nullptr);
    EXPECT_EQ(player.FormatLamps->Lit(), FormatLamp::Off);
}

} // namespace
} // namespace vd::test
