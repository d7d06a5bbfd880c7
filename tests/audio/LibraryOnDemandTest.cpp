// Libraries opened when first needed: a missing library or function is an error that names it.
#include "audio/LibraryOnDemand.h"
#include "audio/AudioError.h"
#include "audio/FluidSynthLibrary.h"

#include <gtest/gtest.h>

#include <string>

namespace {

std::string error_of(void (*attempt)()) {
    try {
        attempt();
    } catch (const vd::AudioError& e) {
        return e.what();
    }
    return {};
}

TEST(LibraryOnDemand, AFunctionOfALoadedLibraryIsCalled) {
    const vd::LibraryOnDemand libm("libm.so.6");
    const auto cosine = libm.function<double (*)(double)>("cos");
    EXPECT_DOUBLE_EQ(cosine(0.0), 1.0);
}

TEST(LibraryOnDemand, AMissingLibraryOrFunctionIsAnErrorNamingIt) {
    EXPECT_NE(error_of([] {
                  vd::LibraryOnDemand("libvd-no-such-library.so.9");
              }).find("libvd-no-such-library.so.9"),
              std::string::npos);
    EXPECT_NE(error_of([] {
                  const vd::LibraryOnDemand libm("libm.so.6");
                  (void)libm.function<void (*)()>("vd_no_such_function");
              }).find("vd_no_such_function"),
              std::string::npos);
}

TEST(LibraryOnDemand, TheSynthesizerFindsEveryFunctionItCalls) {
    const vd::FluidSynthLibrary& fluid = vd::fluidsynth();
    EXPECT_NE(fluid.new_fluid_synth, nullptr);
    EXPECT_NE(fluid.fluid_synth_write_float, nullptr);
    EXPECT_EQ(&vd::fluidsynth(), &fluid) << "loaded once";
}

} // namespace
