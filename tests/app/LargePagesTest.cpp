#include <gtest/gtest.h>

#include "app/LargePages.h"

namespace {

TEST(LargePagesTest, OnlyAKernelThatGrantsOnRequestIsWorthARestart) {
  EXPECT_TRUE(KernelGrantsLargePagesOnRequest("always [madvise] never\n"));
  // Already huge everywhere, or never: asking changes nothing.
  EXPECT_FALSE(KernelGrantsLargePagesOnRequest("[always] madvise never\n"));
  EXPECT_FALSE(KernelGrantsLargePagesOnRequest("always madvise [never]\n"));
  // No such file (another kernel, no /sys).
  EXPECT_FALSE(KernelGrantsLargePagesOnRequest(""));
}

TEST(LargePagesTest, TheRequestJoinsWhatTheUserAskedAndNeverOverridesIt) {
  EXPECT_EQ(TunablesAskingForLargePages(nullptr), "glibc.malloc.hugetlb=1");
  EXPECT_EQ(TunablesAskingForLargePages(""), "glibc.malloc.hugetlb=1");
  EXPECT_EQ(TunablesAskingForLargePages("glibc.malloc.arena_max=2"), "glibc.malloc.arena_max=2:glibc.malloc.hugetlb=1");
  EXPECT_EQ(TunablesAskingForLargePages("glibc.malloc.arena_max=2:glibc.malloc.tcache_count=0"),
            "glibc.malloc.arena_max=2:glibc.malloc.tcache_count=0:glibc.malloc.hugetlb=1");
  // Said either way already, by the user or by the first start: no second restart.
  EXPECT_EQ(TunablesAskingForLargePages("glibc.malloc.hugetlb=0"), std::nullopt);
  EXPECT_EQ(TunablesAskingForLargePages("glibc.malloc.arena_max=2:glibc.malloc.hugetlb=1"), std::nullopt);
  EXPECT_EQ(TunablesAskingForLargePages("glibc.malloc.hugetlb"), std::nullopt);
  // A longer name that starts the same is another tunable.
  EXPECT_EQ(TunablesAskingForLargePages("glibc.malloc.hugetlbx=3"), "glibc.malloc.hugetlbx=3:glibc.malloc.hugetlb=1");
}

}  // namespace
