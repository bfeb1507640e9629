// The dictionary changes lookup strategy as it grows; these tests hold it to one behaviour on
// both sides of that change, against a plain ordered model.
#include "com/dictionary.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <map>
#include <random>
#include <string>

#include "zov/vb/convert.h"
#include "zov/vb/error.h"

namespace zov::sim {
namespace {

TEST(Dictionary, NumbersOfAnyKindAndTextAreDistinctKeys) {
  for (int filler : {0, 40}) {
    auto d = Dictionary::New();
    for (int i = 0; i < filler; ++i) d->SetItem(Variant("k" + std::to_string(i)), Variant(i));
    d->SetItem(Variant(7L), Variant("long"));
    EXPECT_EQ(vb::CStr(d->Item(Variant(7.0))), "long") << filler;
    d->SetItem(Variant(7.0), Variant("double"));
    EXPECT_EQ(vb::CStr(d->Item(Variant(7L))), "double") << filler;
    EXPECT_FALSE(d->Lookup(Variant("7"))) << filler;
    d->SetItem(Variant(""), Variant("blank"));
    EXPECT_EQ(vb::CStr(d->Item(Variant{})), "blank") << filler;
    EXPECT_EQ(d->Count(), filler + 2);
    EXPECT_THROW(d->Add(Variant(7), Variant(0)), vb::Error);
  }
}

TEST(Dictionary, MatchesAnOrderedModelThroughGrowthRemovalAndCompaction) {
  std::mt19937 rng(17);
  auto d = Dictionary::New();
  std::map<int, int> model;  // key -> value
  std::vector<int> order;    // insertion order of live keys
  for (int step = 0; step < 4000; ++step) {
    const int key = static_cast<int>(rng() % 60);
    const auto k = (key % 2) ? Variant(static_cast<long>(key)) : Variant(std::to_string(key));
    switch (rng() % 4) {
      case 0:
        d->Remove(k);
        if (model.erase(key)) order.erase(std::find(order.begin(), order.end(), key));
        break;
      case 1:
        if (rng() % 50 == 0) {
          d->RemoveAll();
          model.clear();
          order.clear();
        }
        break;
      default:
        d->SetItem(k, Variant(step));
        if (!model.count(key)) order.push_back(key);
        model[key] = step;
    }
    ASSERT_EQ(d->Count(), static_cast<long>(model.size())) << step;
    const auto probe = static_cast<int>(rng() % 60);
    const auto pk =
        (probe % 2) ? Variant(static_cast<double>(probe)) : Variant(std::to_string(probe));
    ASSERT_EQ(d->Lookup(pk), model.count(probe) > 0) << step;
    if (model.count(probe)) {
      ASSERT_EQ(vb::CLng(d->Item(pk)), model[probe]) << step;
    }
  }
  const auto keys = d->Keys();
  ASSERT_EQ(keys.size(), order.size());
  for (std::size_t i = 0; i < keys.size(); ++i)
    EXPECT_EQ(vb::CStr(keys[i]), std::to_string(order[i]));
}

}  // namespace
}  // namespace zov::sim
