// Outcome codes and the recorder of a routine that carries on past failing steps.
#include <gtest/gtest.h>

#include "support/base/status.h"

namespace support {
namespace {

TEST(StatusCodes, SystemAndRunTimeErrorsAndTheirNumbers) {
    EXPECT_EQ(CodeFromSystemError(0), 0);
    EXPECT_EQ(static_cast<std::uint32_t>(CodeFromSystemError(2)), 0x80070002u);
    // A code that is already a failure stays as it is.
    EXPECT_EQ(static_cast<std::uint32_t>(CodeFromSystemError(0x80004005u)), 0x80004005u);
    EXPECT_EQ(static_cast<std::uint32_t>(CodeFromRuntimeError(9)), 0x800A0009u);
    EXPECT_EQ(ErrorNumberOf(CodeFromRuntimeError(457)), 457);
    // Any other code is its own number, negative (0x80070005 read as a signed 32-bit value)
    // whatever the width of long.
    EXPECT_EQ(ErrorNumberOf(CodeFromSystemError(5)), -2147024891L);
    EXPECT_EQ(ErrorNumberOf(0), 0);
}

TEST(StatusCodes, AFailureNeverReadsAsSuccess) {
    EXPECT_FALSE(Status{}.failed());
    EXPECT_TRUE(Status::Failure(CodeFromSystemError(5), L"Access is denied.").failed());
    EXPECT_TRUE(Status::Failure(0).failed());
    EXPECT_TRUE(Status::Failure(1).failed());
}

TEST(StepRecorder, KeepsTheFirstOrTheLastFailure) {
    StepRecorder first;
    EXPECT_TRUE(first.Succeeded(0));
    EXPECT_FALSE(first.Succeeded(CodeFromRuntimeError(5)));
    EXPECT_FALSE(first.Succeeded(CodeFromRuntimeError(13)));
    EXPECT_TRUE(first.Succeeded(1));  // a later success does not clear a failure
    EXPECT_EQ(first.error(), CodeFromRuntimeError(5));
    EXPECT_FALSE(first.MustStop()) << "errors are ignored unless the routine stops at them";

    StepRecorder last(KeepFailure::Last);
    last.Succeeded(CodeFromRuntimeError(5));
    last.Succeeded(CodeFromRuntimeError(13));
    EXPECT_EQ(last.error(), CodeFromRuntimeError(13));
    last.Clear();
    EXPECT_FALSE(last.failed());
}

TEST(StepRecorder, StoppingModeEndsAtTheFirstFailure) {
    StepRecorder steps(KeepFailure::First, true);
    EXPECT_FALSE(steps.MustStop());
    steps.Succeeded(CodeFromRuntimeError(6));
    EXPECT_TRUE(steps.MustStop());
    EXPECT_EQ(steps.error(), CodeFromRuntimeError(6));
}

}  // namespace
}  // namespace support
