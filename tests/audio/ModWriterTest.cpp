#include "tools/modwriter/ModWriter.h"
#include "tests/support/TestModules.h"

#include <gtest/gtest.h>

#include <libopenmpt/libopenmpt.hpp>

#include <stdexcept>

namespace {

namespace mw = vd::modwriter;

TEST(ModWriter, NotesMapToTheProTrackerPeriods) {
    EXPECT_EQ(mw::period_of(mw::note("C-1")), 856);
    EXPECT_EQ(mw::period_of(mw::note("A-1")), 508);
    EXPECT_EQ(mw::period_of(mw::note("C-2")), 428);
    EXPECT_EQ(mw::period_of(mw::note("C#3")), 202);
    EXPECT_EQ(mw::period_of(mw::note("B-3")), 113);
    EXPECT_THROW((void)mw::note("C-4"), std::invalid_argument);
    EXPECT_THROW((void)mw::note("H-2"), std::invalid_argument);
    EXPECT_THROW((void)mw::note("C-"), std::invalid_argument);
}

TEST(ModWriter, FileHasTheProTrackerLayout) {
    vd::test::SongShape shape;
    shape.orders = 3;
    const auto bytes = vd::test::make_song_bytes(shape);
    const std::size_t header = 20 + 31 * 30 + 2 + 128 + 4;
    EXPECT_EQ(bytes.size(), header + 3 * 64 * 4 * 4 + 64);
    EXPECT_EQ(std::string(bytes.begin() + header - 4, bytes.begin() + header), "M.K.");
    EXPECT_EQ(bytes[20 + 31 * 30], 3); // song length
}

TEST(ModWriter, LibopenmptReadsTitleOrdersPatternsAndSamples) {
    mw::Module m = vd::test::make_song({.title = "Writer Check", .orders = 4});
    m.orders = {2, 0, 2, 1, 3};
    const openmpt::module mod(mw::write_mod(m));
    EXPECT_EQ(mod.get_metadata("title"), "Writer Check");
    EXPECT_EQ(mod.get_metadata("type"), "mod");
    EXPECT_EQ(mod.get_num_channels(), 4);
    EXPECT_EQ(mod.get_num_orders(), 5);
    EXPECT_EQ(mod.get_num_patterns(), 4);
    EXPECT_EQ(mod.get_order_pattern(0), 2);
    EXPECT_EQ(mod.get_order_pattern(2), 2);
    EXPECT_EQ(mod.get_pattern_num_rows(1), 64);
    EXPECT_EQ(mod.get_sample_names().at(0), "square");
}

TEST(ModWriter, PatternCellsSurviveTheRoundTrip) {
    mw::Module m = vd::test::make_song({.orders = 1});
    m.patterns[0][5][2] = {mw::period_of(mw::note("E-3")), 1, mw::effect::kPortaUp, 0x20};
    m.patterns[0][6][2] = {mw::period_of(mw::note("C-2")), 1, 0, 0};
    openmpt::module mod(mw::write_mod(m));
    auto command = [&](int row, openmpt::module::command_index what) {
        return mod.get_pattern_row_channel_command(0, row, 2, what);
    };
    EXPECT_EQ(command(5, openmpt::module::command_note) - command(6, openmpt::module::command_note),
              16);
    EXPECT_EQ(command(5, openmpt::module::command_instrument), 1);
    EXPECT_EQ(command(5, openmpt::module::command_parameter), 0x20);
    EXPECT_EQ(command(6, openmpt::module::command_parameter), 0);
}

TEST(ModWriter, RejectsWhatTheFormatCannotHold) {
    mw::Module m = vd::test::make_song({.orders = 1});
    m.orders = {1};
    EXPECT_THROW((void)mw::write_mod(m), std::invalid_argument); // no pattern 1
    m.orders.clear();
    EXPECT_THROW((void)mw::write_mod(m), std::invalid_argument);
    m.orders = {0};
    m.samples[0].loop_length = 1000; // past the sample's end
    EXPECT_THROW((void)mw::write_mod(m), std::invalid_argument);
    m.samples[0].loop_length = 0;
    m.samples.resize(32);
    EXPECT_THROW((void)mw::write_mod(m), std::invalid_argument);
}

} // namespace
