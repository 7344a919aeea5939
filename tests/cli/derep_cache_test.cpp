// Identical reads analysed once: the cache keeps what is seen again and stays within its bound.
#include "cli/derep_cache.h"

#include <gtest/gtest.h>

#include <map>
#include <random>
#include <string>

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

// The same two generations kept in plain maps: what the cache must answer, read for read.
TEST(CliDerepCache, FindsWhatAModelOfTwoGenerationsFinds) {
    struct Model {
        size_t limit = 0, youngBytes = 0;
        std::map<std::string, std::string> young, old;
        void Reserve(size_t cost) {
            if (youngBytes + cost <= limit) return;
            old = std::move(young);
            young.clear();
            youngBytes = 0;
        }
        const std::string* Find(const std::string& bases) {
            if (auto it = young.find(bases); it != young.end()) return &it->second;
            auto it = old.find(bases);
            if (it == old.end()) return nullptr;
            const std::string body = it->second;
            old.erase(it);
            Reserve(bases.size() + body.size() + cli::DerepCache::kEntryOverhead);
            youngBytes += bases.size() + body.size() + cli::DerepCache::kEntryOverhead;
            return &(young[bases] = body);
        }
        void Insert(const std::string& bases, const std::string& body) {
            Reserve(bases.size() + body.size() + cli::DerepCache::kEntryOverhead);
            youngBytes += bases.size() + body.size() + cli::DerepCache::kEntryOverhead;
            young[bases] = body;
        }
    };
    std::mt19937 rng(11);
    for (size_t limit : {300, 2000, 20000}) {
        cli::DerepCache cache(limit);
        Model model;
        model.limit = limit;
        for (int step = 0; step < 20000; ++step) {
            // Reads drawn unevenly from a few hundred, some long enough to fill a generation alone.
            const unsigned pick = rng() % 400;
            const std::string bases =
                std::string(pick % 7 == 0 ? 200 : 5, "ACGT"[pick % 4]) + std::to_string(pick * pick % 397);
            const cli::RenderedView* got = cache.Find(bases);
            const std::string* want = model.Find(bases);
            ASSERT_EQ(got != nullptr, want != nullptr) << "limit " << limit << ", step " << step;
            if (got) {
                ASSERT_EQ(std::string(got->body), *want);
                continue;
            }
            const std::string body = "out" + std::to_string(pick);
            cache.Insert(bases, cli::RenderedView{body, '+'});
            model.Insert(bases, body);
        }
    }
}

}  // namespace
}  // namespace varigap::test
