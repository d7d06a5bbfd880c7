// The skin store: its stored block byte for byte, the real block of the main window, look-up by
// name, how often subscribers are told of changes, change links, and corrupt blocks refused with
// a clear error instead of a crash or a huge allocation.

#include "framework/BmpCodec.h"
#include "framework/Stream.h"
#include "skin/VsComposer.h"
#include "skin/VsGraphics.h"
#include "tests/skin/SkinTestSupport.h"
#include "tests/support/BmpBuilder.h"
#include "tests/support/GuiTestSupport.h"
#include "tests/support/ScratchDir.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

namespace vd {
namespace {

using test::SolidBitmap;

std::vector<uint8_t> Save(const TVsGraphics& graphics) {
    TMemoryStream out;
    graphics.SaveToStream(out);
    return out.Bytes();
}

int32_t Get32(const std::vector<uint8_t>& b, std::size_t at) {
    return static_cast<int32_t>(b[at] | (b[at + 1] << 8) | (b[at + 2] << 16) |
                                (static_cast<uint32_t>(b[at + 3]) << 24));
}

void AddNamed(TVsGraphics& graphics, const std::string& name, const TBitmap& bitmap) {
    TVsGraphic g;
    g.SetName(name);
    g.Bitmap().Assign(&bitmap);
    graphics.Add(&g);
}

class SkinStoreTest : public ::testing::Test {
protected:
    void SetUp() override {
        test::StartGui();
        graphics_.OnChange = [this](TVsPersistent* sender) {
            EXPECT_EQ(sender, &graphics_);
            ++changes_;
        };
    }
    // Three graphics: named with a 3 x 2 picture, unnamed with a 1 x 1, named with none.
    void FillThree() {
        AddNamed(graphics_, "first.bmp", SolidBitmap(3, 2, clRed));
        AddNamed(graphics_, "", SolidBitmap(1, 1, clBlue));
        AddNamed(graphics_, "none", TBitmap());
    }

    TVsGraphics graphics_;
    int changes_ = 0;
};

// ---- the stored form --------------------------------------------------------------------------

TEST_F(SkinStoreTest, AnEmptyCollectionIsMagicAndZeroAndIsNotStoredAsAProperty) {
    EXPECT_EQ(Save(graphics_),
              (std::vector<uint8_t>{0xB6, 0xFD, 0xB2, 0x04, 0x00, 0x00, 0x00, 0x00}));
    EXPECT_FALSE(graphics_.StoresData());
    AddNamed(graphics_, "x", TBitmap());
    EXPECT_TRUE(graphics_.StoresData());
}

TEST_F(SkinStoreTest, RecordsAreNameLengthNameFlagAndImage) {
    FillThree();
    const std::vector<uint8_t> b = Save(graphics_);
    const std::size_t bmp1 = 54 + 2 * 12; // 3 x 2 at 24 bits: rows of 9 bytes padded to 12
    const std::size_t bmp2 = 54 + 4;
    ASSERT_EQ(b.size(), 8 + (4 + 9 + 1 + bmp1) + (4 + 0 + 1 + bmp2) + (4 + 4 + 1));
    EXPECT_EQ(Get32(b, 4), 3);
    std::size_t at = 8;
    EXPECT_EQ(Get32(b, at), 9);
    EXPECT_EQ(std::string(b.begin() + 12, b.begin() + 21), "first.bmp");
    at = 21;
    EXPECT_EQ(b[at], 0);
    EXPECT_EQ(b[at + 1], 'B');
    EXPECT_EQ(Get32(b, at + 3), static_cast<int32_t>(bmp1));
    at += 1 + bmp1;
    EXPECT_EQ(Get32(b, at), 0); // empty name: no name bytes follow
    EXPECT_EQ(b[at + 4], 0);
    EXPECT_EQ(b[at + 5], 'B');
    at += 5 + bmp2;
    EXPECT_EQ(Get32(b, at), 4);
    EXPECT_EQ(
        std::string(b.begin() + static_cast<long>(at) + 4, b.begin() + static_cast<long>(at) + 8),
        "none");
    EXPECT_EQ(b[at + 8], 1); // empty bitmap: the flag and nothing else
    EXPECT_EQ(at + 9, b.size());
}

TEST_F(SkinStoreTest, RoundTripKeepsNamesEmptinessAndPixels) {
    FillThree();
    const std::vector<uint8_t> bytes = Save(graphics_);
    TVsGraphics back;
    TMemoryStream in(bytes);
    back.LoadFromStream(in);
    EXPECT_EQ(in.Position(), static_cast<int64_t>(bytes.size()));
    ASSERT_EQ(back.Count(), 3);
    EXPECT_EQ(back.Items(0)->Name(), "first.bmp");
    EXPECT_EQ(back.Items(0)->Bitmap().Width(), 3);
    EXPECT_EQ(back.Items(0)->Bitmap().Pixel(2, 1), clRed);
    EXPECT_EQ(back.Items(1)->Name(), ""); // even after a named one
    EXPECT_EQ(back.Items(1)->Bitmap().Pixel(0, 0), clBlue);
    EXPECT_EQ(back.Items(2)->Name(), "none");
    EXPECT_TRUE(back.Items(2)->Bitmap().Empty());
    EXPECT_EQ(Save(back), bytes);
}

TEST_F(SkinStoreTest, ReadingStartsWhereTheStreamIsAndStopsAtTheBlocksEnd) {
    FillThree();
    const std::vector<uint8_t> block = Save(graphics_);
    TMemoryStream in;
    in.WriteUInt32(0xDEADBEEF); // what a layout holds before the property
    in.WriteBuffer(block.data(), block.size());
    in.WriteUInt32(0x12345678); // and after it
    in.SetPosition(4);
    TVsGraphics back;
    back.LoadFromStream(in);
    EXPECT_EQ(back.Count(), 3);
    EXPECT_EQ(in.Position(), static_cast<int64_t>(4 + block.size()));
    EXPECT_EQ(in.ReadUInt32(), 0x12345678u);
}

TEST_F(SkinStoreTest, AnyNonZeroFlagMeansAnEmptyBitmap) {
    std::vector<uint8_t> b = {0xB6, 0xFD, 0xB2, 0x04, 2,   0,  0, 0, //
                              1,    0,    0,    0,    'a', 7,        // flag 7: empty
                              1,    0,    0,    0,    'b', 255};     // flag 255: empty
    TVsGraphics g;
    TMemoryStream in(b);
    g.LoadFromStream(in);
    ASSERT_EQ(g.Count(), 2);
    EXPECT_TRUE(g.Items(0)->Bitmap().Empty());
    EXPECT_EQ(g.Items(1)->Name(), "b");
}

TEST_F(SkinStoreTest, ZeroOrNegativeCountReadsNothing) {
    for (const int32_t count : {0, -1, INT32_MIN}) {
        TMemoryStream in;
        in.WriteUInt32(TVsGraphics::kMagic);
        in.WriteInt32(count);
        in.SetPosition(0);
        TVsGraphics g;
        g.LoadFromStream(in);
        EXPECT_EQ(g.Count(), 0) << count;
    }
}

TEST_F(SkinStoreTest, LoadingReplacesTheContents) {
    FillThree();
    TVsGraphics other;
    AddNamed(other, "only", SolidBitmap(1, 1, clLime));
    const std::vector<uint8_t> bytes = Save(other);
    TMemoryStream in(bytes);
    graphics_.LoadFromStream(in);
    ASSERT_EQ(graphics_.Count(), 1);
    EXPECT_EQ(graphics_.Items(0)->Name(), "only");
}

TEST_F(SkinStoreTest, FileRoundTrip) {
    FillThree();
    const test::ScratchDir dir;
    const std::string path = dir / "store-test.vsk";
    graphics_.SaveToFile(path);
    TVsGraphics back;
    int back_changes = 0;
    back.OnChange = [&](TVsPersistent*) { ++back_changes; };
    back.LoadFromFile(path);
    EXPECT_EQ(back.Count(), 3);
    EXPECT_EQ(back_changes, 1); // one bracket around the whole load
    std::remove(path.c_str());
    EXPECT_THROW(back.LoadFromFile(path), EFOpenError);
    EXPECT_EQ(back.UpdateCount(), 0);
}

// ---- the main window's block ------------------------------------------------------------------

TEST_F(SkinStoreTest, TheMainWindowsBlockHoldsSixGraphicsAndIsReadToTheEnd) {
    const std::vector<uint8_t> block = test::RealSkinBlock();
    ASSERT_EQ(block.size(), 746470u) << "resources/skin/main.vsk";
    TMemoryStream in(block);
    graphics_.LoadFromStream(in);
    EXPECT_EQ(in.Position(), 746470);
    ASSERT_EQ(graphics_.Count(), 6);
    struct Expected {
        const char* name;
        int width;
        int height;
    };
    const Expected expected[] = {{"playerSkin.bmp", 518, 425}, {"2. buttons.bmp", 115, 94},
                                 {"3. thumb.bmp", 40, 6},      {"RoundBtn.bmp", 45, 8},
                                 {"mod_progress2.bmp", 14, 4}, {"2. playlist_btn.bmp", 225, 74}};
    for (int i = 0; i < 6; ++i) {
        EXPECT_EQ(graphics_.Items(i)->Name(), expected[i].name);
        EXPECT_EQ(graphics_.Items(i)->Bitmap().Width(), expected[i].width) << i;
        EXPECT_EQ(graphics_.Items(i)->Bitmap().Height(), expected[i].height) << i;
    }
    // Written again it has the same size: every image is 24 bits with 54 bytes of headers.
    EXPECT_EQ(Save(graphics_).size(), block.size());
}

TEST_F(SkinStoreTest, TheMainWindowsBackgroundHasItsMaskPixels) {
    const std::vector<uint8_t> block = test::RealSkinBlock();
    TMemoryStream in(block);
    graphics_.LoadFromStream(in);
    const TBitmap& background = graphics_.Items(0)->Bitmap();
    EXPECT_EQ(test::CountColor(background.Image(), clFuchsia, {0, 0, 518, 425}), 50849);
}

// ---- look-up by name --------------------------------------------------------------------------

TEST_F(SkinStoreTest, IndexOfIgnoresCaseAndTheLowerIndexWins) {
    AddNamed(graphics_, "2. buttons.bmp", TBitmap());
    AddNamed(graphics_, "playerSkin.bmp", TBitmap());
    AddNamed(graphics_, "PlayerSkin.BMP", TBitmap());
    EXPECT_EQ(graphics_.IndexOf("PLAYERSKIN.BMP"), 1);
    EXPECT_EQ(graphics_.IndexOf("playerskin.bmp"), 1);
    EXPECT_EQ(graphics_.IndexOf("PlayerSkin.BMP"), 1);
    EXPECT_EQ(graphics_.IndexOf("2. BUTTONS.BMP"), 0);
    EXPECT_EQ(graphics_.IndexOf("playerSkin"), -1);
    EXPECT_EQ(graphics_.IndexOf("playerSkin.bmp "), -1);
    EXPECT_EQ(graphics_.IndexOf(""), -1);
    AddNamed(graphics_, "", TBitmap());
    EXPECT_EQ(graphics_.IndexOf(""), 3);
}

TEST_F(SkinStoreTest, ItemsAndDeleteOutOfRangeAreListErrors) {
    AddNamed(graphics_, "a", TBitmap());
    EXPECT_THROW((void)graphics_.Items(1), EListError);
    EXPECT_THROW((void)graphics_.Items(-1), EListError);
    EXPECT_THROW(graphics_.Delete(1), EListError);
    EXPECT_EQ(graphics_.Count(), 1);
}

// ---- copies -----------------------------------------------------------------------------------

TEST_F(SkinStoreTest, AddMakesAnIndependentCopyAndAMissingSourceAnEmptyGraphic) {
    TVsGraphic source;
    source.SetName("s");
    const TBitmap red = SolidBitmap(2, 2, clRed);
    source.Bitmap().Assign(&red);
    graphics_.Add(&source);
    source.SetName("changed");
    source.Bitmap().Canvas().SetPixel(0, 0, clBlue);
    EXPECT_EQ(graphics_.Items(0)->Name(), "s");
    EXPECT_EQ(graphics_.Items(0)->Bitmap().Pixel(0, 0), clRed);

    EXPECT_EQ(graphics_.Add(nullptr), 1);
    EXPECT_EQ(graphics_.Items(1)->Name(), "");
    EXPECT_TRUE(graphics_.Items(1)->Bitmap().Empty());
}

TEST_F(SkinStoreTest, GraphicAssignFromAnythingElseDoesNothing) {
    TVsGraphic g;
    g.SetName("keep");
    int notices = 0;
    g.OnChange = [&](TVsPersistent*) { ++notices; };
    TVsClipRect foreign;
    EXPECT_NO_THROW(g.Assign(&foreign));
    EXPECT_NO_THROW(g.Assign(nullptr));
    EXPECT_EQ(g.Name(), "keep");
    EXPECT_EQ(notices, 0);
    TVsGraphic other;
    other.SetName("other");
    g.Assign(&other);
    EXPECT_EQ(g.Name(), "other");
    EXPECT_EQ(notices, 1);
}

TEST_F(SkinStoreTest, AssignCopiesEveryGraphicInOneNotice) {
    TVsGraphics source;
    AddNamed(source, "a", SolidBitmap(1, 1, clRed));
    AddNamed(source, "b", TBitmap());
    FillThree();
    changes_ = 0;
    graphics_.Assign(&source);
    EXPECT_EQ(changes_, 1);
    ASSERT_EQ(graphics_.Count(), 2);
    EXPECT_EQ(graphics_.Items(1)->Name(), "b");
    graphics_.Assign(nullptr);
    EXPECT_EQ(graphics_.Count(), 0);
    EXPECT_EQ(changes_, 2);
    TVsClipRect foreign;
    EXPECT_NO_THROW(graphics_.Assign(&foreign));
    EXPECT_EQ(changes_, 2);
}

// ---- notices ----------------------------------------------------------------------------------

TEST_F(SkinStoreTest, ClearNotifiesOnceAddOncePerCall) {
    for (int i = 0; i < 6; ++i)
        AddNamed(graphics_, "g" + std::to_string(i), TBitmap());
    EXPECT_EQ(changes_, 6);
    graphics_.Clear();
    EXPECT_EQ(changes_, 7);
    EXPECT_EQ(graphics_.Count(), 0);
    graphics_.Clear(); // nothing to clear, but the bracket closes
    EXPECT_EQ(changes_, 8);
}

TEST_F(SkinStoreTest, BracketsBatchAndClosingAlwaysNotifies) {
    graphics_.BeginUpdate();
    graphics_.BeginUpdate();
    AddNamed(graphics_, "a", TBitmap());
    graphics_.Delete(0);
    EXPECT_EQ(changes_, 0);
    graphics_.EndUpdate();
    EXPECT_EQ(changes_, 0); // one bracket still open
    graphics_.EndUpdate();
    EXPECT_EQ(changes_, 1);
    graphics_.EndUpdate(); // not open at all: still notifies, count stays 0
    EXPECT_EQ(changes_, 2);
    EXPECT_EQ(graphics_.UpdateCount(), 0);
}

TEST_F(SkinStoreTest, LoadingNotifiesForTheClearAndEachGraphicUnlessBracketed) {
    TVsGraphics source;
    AddNamed(source, "a", TBitmap());
    AddNamed(source, "b", TBitmap());
    const std::vector<uint8_t> bytes = Save(source);
    TMemoryStream in(bytes);
    graphics_.LoadFromStream(in);
    EXPECT_EQ(changes_, 3);
    changes_ = 0;
    TMemoryStream again(bytes);
    graphics_.ReadData(again); // the layout's binary property reader
    EXPECT_EQ(changes_, 1);
    TMemoryStream out;
    graphics_.WriteData(out);
    EXPECT_EQ(out.Bytes(), bytes);
}

TEST_F(SkinStoreTest, AFailedPropertyReadStillClosesItsBracket) {
    TMemoryStream in(std::vector<uint8_t>{1, 2, 3, 4, 0, 0, 0, 0});
    EXPECT_THROW(graphics_.ReadData(in), Exception);
    EXPECT_EQ(graphics_.UpdateCount(), 0);
    EXPECT_EQ(changes_, 1);
}

// ---- change links -----------------------------------------------------------------------------

class ChangeLinkTest : public SkinStoreTest {};

TEST_F(ChangeLinkTest, ChangesReachEveryLinkInRegistrationOrderWithTheComposerAsSender) {
    TVsComposer composer(nullptr);
    TVsChangeLink first;
    TVsChangeLink second;
    std::vector<std::string> told;
    first.OnChange = [&](TVsSharedComponent* sender) {
        EXPECT_EQ(sender, &composer);
        told.push_back("first");
    };
    second.OnChange = [&](TVsSharedComponent*) { told.push_back("second"); };
    composer.RegisterLink(&second);
    composer.RegisterLink(&first);
    EXPECT_EQ(first.Sender(), &composer);
    AddNamed(composer.Graphics(), "a", TBitmap());
    EXPECT_EQ(told, (std::vector<std::string>{"second", "first"}));
    composer.UnregisterLink(&second);
    EXPECT_EQ(second.Sender(), nullptr);
    composer.Graphics().Clear();
    EXPECT_EQ(told, (std::vector<std::string>{"second", "first", "first"}));
    composer.UnregisterLink(&second); // not registered: nothing
    EXPECT_EQ(composer.LinkCount(), 1);
}

TEST_F(ChangeLinkTest, AssigningTheGraphicsPropertyCopiesWithOneNotice) {
    TVsComposer composer(nullptr);
    TVsChangeLink link;
    int told = 0;
    link.OnChange = [&](TVsSharedComponent*) { ++told; };
    composer.RegisterLink(&link);
    TVsGraphics source;
    AddNamed(source, "a", SolidBitmap(1, 1, clRed));
    AddNamed(source, "b", TBitmap());
    composer.SetGraphics(source);
    EXPECT_EQ(told, 1);
    EXPECT_EQ(composer.Graphics().Count(), 2);
    EXPECT_NE(composer.Graphics().Items(0), source.Items(0));
}

TEST_F(ChangeLinkTest, DestroyingTheComposerClearsRegisteredLinksOnly) {
    TVsChangeLink registered;
    TVsChangeLink unregistered;
    int told = 0;
    registered.OnChange = [&](TVsSharedComponent*) { ++told; };
    unregistered.OnChange = [&](TVsSharedComponent*) { ++told; };
    {
        TVsComposer composer(nullptr);
        AddNamed(composer.Graphics(), "a", TBitmap());
        composer.RegisterLink(&registered);
        composer.RegisterLink(&unregistered);
        composer.UnregisterLink(&unregistered);
    }
    EXPECT_EQ(registered.Sender(), nullptr);
    EXPECT_EQ(unregistered.Sender(), nullptr);
    EXPECT_EQ(told, 0); // the collection's destruction tells nobody
}

TEST_F(ChangeLinkTest, ALinkDestroyedFirstUnregistersItself) {
    TVsComposer composer(nullptr);
    {
        TVsChangeLink link;
        composer.RegisterLink(&link);
        EXPECT_EQ(composer.LinkCount(), 1);
    }
    EXPECT_EQ(composer.LinkCount(), 0);
    AddNamed(composer.Graphics(), "a", TBitmap()); // must not reach the destroyed link
}

TEST_F(ChangeLinkTest, ALinkMayUnregisterAnotherWhileBeingTold) {
    TVsComposer composer(nullptr);
    TVsChangeLink first;
    TVsChangeLink second;
    int second_told = 0;
    first.OnChange = [&](TVsSharedComponent*) { composer.UnregisterLink(&second); };
    second.OnChange = [&](TVsSharedComponent*) { ++second_told; };
    composer.RegisterLink(&first);
    composer.RegisterLink(&second);
    AddNamed(composer.Graphics(), "a", TBitmap());
    EXPECT_EQ(second_told, 0);
}

// ---- corrupt blocks ---------------------------------------------------------------------------

class CorruptBlockTest : public SkinStoreTest {
protected:
    // Loads `bytes`; returns the error message, or "" when it loaded.
    std::string Load(const std::vector<uint8_t>& bytes) {
        TMemoryStream in(bytes);
        try {
            graphics_.LoadFromStream(in);
        } catch (const Exception& e) {
            return e.what();
        }
        return "";
    }
    // A small valid block: two graphics with pictures and one without.
    static std::vector<uint8_t> SmallBlock() {
        TVsGraphics g;
        AddNamed(g, "a.bmp", SolidBitmap(2, 2, clRed));
        AddNamed(g, "", SolidBitmap(3, 1, clBlue));
        AddNamed(g, "none", TBitmap());
        return Save(g);
    }
};

TEST_F(CorruptBlockTest, WrongMagicIsInvalidFileFormatAndLeavesNothing) {
    FillThree();
    std::vector<uint8_t> b = SmallBlock();
    b[0] ^= 1;
    EXPECT_EQ(Load(b), "Invalid file format.");
    EXPECT_EQ(graphics_.Count(), 0);
    EXPECT_EQ(Load({0xB6, 0xFD}), "Invalid file format.");
    EXPECT_EQ(Load({}), "Invalid file format.");
}

TEST_F(CorruptBlockTest, NegativeOrOversizedNameLength) {
    for (const int32_t length : {-1, -100, INT32_MIN, 1000, INT32_MAX}) {
        std::vector<uint8_t> b = {0xB6, 0xFD, 0xB2, 0x04, 1, 0, 0, 0};
        const auto u = static_cast<uint32_t>(length);
        b.insert(b.end(), {static_cast<uint8_t>(u), static_cast<uint8_t>(u >> 8),
                           static_cast<uint8_t>(u >> 16), static_cast<uint8_t>(u >> 24)});
        b.insert(b.end(), {'x', 'y', 1});
        const std::string error = Load(b);
        EXPECT_FALSE(error.empty()) << length;
        EXPECT_EQ(graphics_.Count(), 0) << length;
    }
}

TEST_F(CorruptBlockTest, OversizedBitmapSize) {
    const std::vector<uint8_t> good = SmallBlock();
    for (const uint32_t size : {0xFFFFFFFFu, 0x80000000u, 0x7FFFFFFFu, 100000u}) {
        std::vector<uint8_t> b = good;
        test::Put32(b, 8 + 4 + 5 + 1 + 2, size); // the first image's total size
        EXPECT_FALSE(Load(b).empty()) << size;
        EXPECT_EQ(graphics_.Count(), 0) << size;
    }
}

TEST_F(CorruptBlockTest, ACountLargerThanTheRecordsKeepsWhatWasRead) {
    std::vector<uint8_t> b = SmallBlock();
    test::Put32(b, 4, 1000000);
    EXPECT_FALSE(Load(b).empty());
    EXPECT_EQ(graphics_.Count(), 3);
}

TEST_F(CorruptBlockTest, ARecordThatIsNoBitmapFailsAfterTheGraphicsBeforeIt) {
    std::vector<uint8_t> b = SmallBlock();
    // The second record's image starts after: header 8, record 1 (4 + 5 + 1 + 70), name length 4,
    // flag 1.
    const std::size_t second_image = 8 + 4 + 5 + 1 + (54 + 2 * 8) + 4 + 1;
    ASSERT_EQ(b[second_image], 'B');
    b[second_image] = 'X';
    EXPECT_FALSE(Load(b).empty());
    ASSERT_EQ(graphics_.Count(), 1);
    EXPECT_EQ(graphics_.Items(0)->Name(), "a.bmp");
}

TEST_F(CorruptBlockTest, TruncationAtEveryByteFailsCleanlyKeepingWholeRecords) {
    const std::vector<uint8_t> b = SmallBlock();
    // Where each record ends: a cut before that point loses the record.
    const std::size_t first_end = 8 + 4 + 5 + 1 + (54 + 2 * 8);
    const std::size_t second_end = first_end + 4 + 1 + (54 + 12);
    ASSERT_EQ(second_end + 4 + 4 + 1, b.size());
    for (std::size_t cut = 0; cut < b.size(); ++cut) {
        const std::string error = Load(std::vector<uint8_t>(b.begin(), b.begin() + cut));
        EXPECT_FALSE(error.empty()) << "cut at " << cut;
        const int32_t whole = cut < first_end ? 0 : cut < second_end ? 1 : 2;
        EXPECT_EQ(graphics_.Count(), whole) << "cut at " << cut;
    }
    EXPECT_EQ(Load(b), "");
    EXPECT_EQ(graphics_.Count(), 3);
}

TEST_F(CorruptBlockTest, ImagesWithBrokenHeadersInsideAValidRecord) {
    std::vector<uint8_t> b = SmallBlock();
    const std::size_t image = 8 + 4 + 5 + 1;
    for (const std::size_t field :
         {std::size_t{10}, std::size_t{14}, std::size_t{18}, std::size_t{22}}) {
        std::vector<uint8_t> bad = b;
        test::Put32(bad, image + field, 0xFFFFFFF0u);
        EXPECT_FALSE(Load(bad).empty()) << field;
    }
}

} // namespace
} // namespace vd
