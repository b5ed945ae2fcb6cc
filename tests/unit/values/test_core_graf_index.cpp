// Long lists answer name searches from a side index. Scripts see the
// cursor (dumps, iteration), so every search must leave it exactly where
// the plain forward scan leaves it, whatever the list went through before.
#include <gtest/gtest.h>

#include <algorithm>
#include <random>
#include <string>
#include <vector>

#include "values/GrafArray.h"

namespace {

// The reference: names in list order, searched by a plain walk.
struct Model {
    std::vector<std::string> names;
    int FirstOf(const std::string& name) const {
        for (size_t i = 0; i < names.size(); ++i)
            if (names[i] == name) return int(i);
        return -1;
    }
};

void ExpectSame(GrafArray& list, const Model& model) {
    ASSERT_EQ(list.Count, int(model.names.size()));
    GrafNode* node = list.Head;
    for (size_t i = 0; i < model.names.size(); ++i, node = node->NextNode)
        ASSERT_EQ(node->Name, model.names[i]) << "at " << i;
}

// One search through Find or IndexOf, checked against the walk.
void CheckSearch(GrafArray& list, const Model& model, const std::string& name, bool useIndexOf) {
    const int before = list.CurIndex;
    const std::string beforeName = list.CurrentName();
    const bool beforeWrapped = list.Wrapped;
    const bool beforeNotFound = list.NotFound;
    const int expected = model.FirstOf(name);
    if (useIndexOf) {
        ASSERT_EQ(list.IndexOf(name), expected) << name;
    } else {
        const bool onCursor = before >= 0 && beforeName == name;
        ASSERT_EQ(list.Find(name), expected >= 0) << name;
        if (onCursor) {
            ASSERT_EQ(list.CurIndex, before);  // the cursor's own node answers
            ASSERT_EQ(list.Wrapped, beforeWrapped);
            return;
        }
    }
    if (expected >= 0) {
        ASSERT_EQ(list.CurIndex, expected) << name;
        ASSERT_EQ(list.CurrentName(), name);
        ASSERT_FALSE(list.Wrapped);
        // Find clears the flag; IndexOf leaves it as it was.
        ASSERT_EQ(list.NotFound, useIndexOf && beforeNotFound);
    } else {
        ASSERT_TRUE(list.NotFound);
        ASSERT_EQ(list.CurIndex, before);  // a failed search puts the cursor back
        ASSERT_EQ(list.CurrentName(), beforeName);
        ASSERT_EQ(list.Wrapped, beforeWrapped);
    }
}

TEST(GrafArrayIndex, SearchesMatchTheScanThroughEveryKindOfChange) {
    std::mt19937 random(12345);
    GrafArray list;
    Model model;
    auto pick = [&](int n) { return int(random() % unsigned(n)); };
    // Few distinct names, so duplicates are common.
    auto name = [&] { return "k" + std::to_string(pick(120)); };
    for (int round = 0; round < 20000; ++round) {
        const int action = pick(100);
        if (action < 30) {
            const std::string n = name();
            list.Add(n, nullptr);
            model.names.push_back(n);
        } else if (action < 34) {
            const std::string n = name();
            list.Add(n, nullptr, true);
            model.names.insert(model.names.begin(), n);
        } else if (action < 37 && list.Count > 0) {
            // Mostly the last entry (a pop), sometimes any.
            const int at = pick(3) ? list.Count - 1 : pick(list.Count);
            ASSERT_TRUE(list.DeleteAt(at));
            model.names.erase(model.names.begin() + at);
        } else if (action == 37) {
            list.Reverse();
            if (model.names.size() > 1) std::reverse(model.names.begin() + 1, model.names.end());
        } else if (action == 38 && list.Count > 0) {
            list.Rotate(1);
            std::rotate(model.names.begin(), model.names.begin() + 1, model.names.end());
        } else if (action == 39 && list.Count < 300) {
            list.SortByName();
            std::sort(model.names.begin(), model.names.end());
        } else if (action == 40 && pick(20) == 0) {
            list.Clear();
            model.names.clear();
        } else if (action < 45 && list.Count > 0) {
            list.Seek(pick(list.Count));
            if (pick(2)) list.Next();  // may wrap
        } else {
            CheckSearch(list, model, name(), action % 7 == 0);
        }
        if (round % 500 == 0) ExpectSame(list, model);
        if (HasFatalFailure()) return;
    }
    ExpectSame(list, model);
}

// A long list searched many times must not scan each time: the sequential
// read-back of a million-entry array is the case this exists for.
TEST(GrafArrayIndex, RepeatedSearchesOfALongListStayCheap) {
    GrafArray list;
    const int n = 200000;
    for (int i = 0; i < n; ++i) list.Add(std::to_string(i), nullptr);
    list.Add("0", nullptr);  // a duplicate: the first one still answers
    for (int i = n - 1; i >= 0; --i) {
        ASSERT_TRUE(list.Find(std::to_string(i)));
        ASSERT_EQ(list.CurIndex, i);
    }
    EXPECT_EQ(list.LastIndexOf("0"), n);
    EXPECT_FALSE(list.Find("missing"));
    EXPECT_EQ(list.CurIndex, n);  // left where LastIndexOf put it
}

}  // namespace
