// Identical reads analysed once: the cache keeps what is seen again and stays within its bound.
#include "cli/derep_cache.h"

#include <gtest/gtest.h>

namespace varigap::test {
namespace {

TEST(CliDerepCache, ReadsSeenAgainStayAndTheRestGoWhenAGenerationFills) {
    cli::DerepCache cache(1000);  // an entry below costs 128 + 11 bytes: 7 fit a generation
    auto read = [](int i) { return "ACGTACGT" + std::to_string(100 + i); };
    cache.Insert(read(0), cli::RenderedView{"zero", '+'});
    for (int i = 1; i <= 50; ++i) {
        ASSERT_NE(cache.Find(read(0)), nullptr) << i;  // seen again and again: kept
        if (!cache.Find(read(i))) cache.Insert(read(i), cli::RenderedView{"o", '-'});
        EXPECT_LE(cache.Entries(), 2u * 7 + 1);
    }
    EXPECT_EQ(cache.Find(read(1)), nullptr);  // not seen since: dropped
    EXPECT_EQ(cache.Find(read(50))->strand, '-');
    EXPECT_EQ(cache.Find(read(0))->body, "zero");
}

}  // namespace
}  // namespace varigap::test
