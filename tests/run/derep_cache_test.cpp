// Identical reads analysed once: the cache keeps what is seen again and stays within its bound.
#include "run/derep_cache.h"

#include <gtest/gtest.h>

#include <map>
#include <random>
#include <string>

namespace varigap::test {
namespace {

// A result told apart by its sequence.
ReadResult Result(const std::string& sequence) {
    ReadResult r;
    r.sequence = sequence;
    return r;
}

TEST(RunDerepCache, ReadsSeenAgainStayAndTheRestGoWhenAGenerationFills) {
    const size_t cost = run::DerepCache::Cost(11, Result("o"));
    run::DerepCache cache(7 * cost + cost / 2);  // 7 entries fit a generation
    auto read = [](int i) { return "ACGTACGT" + std::to_string(100 + i); };
    cache.Insert(read(0), Result("zero"));
    for (int i = 1; i <= 50; ++i) {
        ASSERT_NE(cache.Find(read(0)), nullptr) << i;  // seen again and again: kept
        if (!cache.Find(read(i))) cache.Insert(read(i), Result("o"));
        EXPECT_LE(cache.Entries(), 2u * 7 + 1);
    }
    EXPECT_EQ(cache.Find(read(1)), nullptr);  // not seen since: dropped
    EXPECT_EQ((*cache.Find(read(50)))->sequence, "o");
    EXPECT_EQ((*cache.Find(read(0)))->sequence, "zero");
}

// A result taken from the cache is the cache's copy, made in its generation's store: it must
// stay whole while held, after the generation that made it has gone and its room is used again.
TEST(RunDerepCache, AResultHeldOutlivesItsGeneration) {
    ReadResult r = Result(std::string(300, 'A'));
    r.vrs.resize(2);
    r.vrs[1].poss.push_back({4, 40, std::string(37, 'C'), "Poa annua; Poa pratensis; Festuca rubra"});
    r.lines.resize(5);
    const size_t cost = run::DerepCache::Cost(8, r);
    run::DerepCache cache(3 * cost);
    cache.Insert("ACGTACGT", r);
    const run::ResultPtr held = *cache.Find("ACGTACGT");
    for (int i = 0; i < 40; ++i) cache.Insert("TTTT" + std::to_string(1000 + i), r);  // both generations go, many times
    ASSERT_EQ(cache.Find("ACGTACGT"), nullptr);
    EXPECT_EQ(std::string_view(held->sequence), std::string(300, 'A'));
    ASSERT_EQ(held->vrs.size(), 2u);
    EXPECT_EQ(std::string_view(held->vrs[1].poss[0].variant), std::string(37, 'C'));
    EXPECT_EQ(std::string_view(held->vrs[1].poss[0].taxa), "Poa annua; Poa pratensis; Festuca rubra");
    EXPECT_EQ(held->lines.size(), 5u);
}

// The same two generations kept in plain maps: what the cache must answer, read for read.
TEST(RunDerepCache, FindsWhatAModelOfTwoGenerationsFinds) {
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
            Reserve(Cost(bases, body));
            youngBytes += Cost(bases, body);
            return &(young[bases] = body);
        }
        void Insert(const std::string& bases, const std::string& body) {
            Reserve(Cost(bases, body));
            youngBytes += Cost(bases, body);
            young[bases] = body;
        }
        static size_t Cost(const std::string& bases, const std::string& body) {
            return run::DerepCache::Cost(bases.size(), Result(body));
        }
    };
    std::mt19937 rng(11);
    const size_t entry = Model::Cost("ACGTA", "out1");
    for (size_t limit : {entry, 8 * entry, 80 * entry}) {
        run::DerepCache cache(limit);
        Model model;
        model.limit = limit;
        for (int step = 0; step < 20000; ++step) {
            // Reads drawn unevenly from a few hundred, some long enough to fill a generation alone.
            const unsigned pick = rng() % 400;
            const std::string bases =
                std::string(pick % 7 == 0 ? 200 : 5, "ACGT"[pick % 4]) + std::to_string(pick * pick % 397);
            const run::ResultPtr* got = cache.Find(bases);
            const std::string* want = model.Find(bases);
            ASSERT_EQ(got != nullptr, want != nullptr) << "limit " << limit << ", step " << step;
            if (got) {
                ASSERT_EQ(std::string_view((*got)->sequence), *want);
                continue;
            }
            const std::string body = "out" + std::to_string(pick);
            cache.Insert(bases, Result(body));
            model.Insert(bases, body);
        }
    }
}

}  // namespace
}  // namespace varigap::test
