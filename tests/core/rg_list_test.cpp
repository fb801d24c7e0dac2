#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "core/rg_list.h"

namespace {

int a = 1, b = 2, c = 3, absent = 9;

std::vector<int*> Entries(const rgList<int>& l) { return {l.begin(), l.end()}; }

TEST(RgList, RemovalCases) {
    struct Case {
        std::string name;
        std::vector<int*> before;
        int* remove;
        std::vector<int*> after;
    } cases[] = {
        {"absent pointer leaves the list unchanged", {&a, &b}, &absent, {&a, &b}},
        {"only entry leaves count 0", {&a}, &a, {}},
        {"middle entry shifts later entries down", {&a, &b, &c}, &b, {&a, &c}},
        {"first of duplicates goes", {&a, &b, &a}, &a, {&b, &a}},
        {"from an empty list", {}, &a, {}},
        {"null pointer entry", {&a, nullptr}, nullptr, {&a}},
    };
    for (const auto& t : cases) {
        rgList<int> l;
        for (int* p : t.before) l.Add(p);
        l.Remove(t.remove);
        EXPECT_EQ(Entries(l), t.after) << t.name;
        EXPECT_EQ(l.count(), static_cast<int>(t.after.size())) << t.name;
    }
}

TEST(RgList, IndexAccessStaysInsideTheBlock) {
    rgList<int> l;
    EXPECT_EQ(l.count(), 0);
    EXPECT_EQ(l.Get(0), nullptr);
    l.Add(&a);
    l.Add(&b);
    EXPECT_EQ(l.Get(1), &b);
    EXPECT_EQ(l.Get(2), nullptr);
    EXPECT_EQ(l.Get(-1), nullptr);
    l.Set(5, &c);  // out of range: ignored
    l.Set(0, &c);
    EXPECT_EQ(Entries(l), (std::vector<int*>{&c, &b}));
    l.RemoveIndex(7);
    l.RemoveIndex(-1);
    EXPECT_EQ(l.count(), 2);
    EXPECT_EQ(l.Find(&b), 1);
    EXPECT_EQ(l.Find(&absent), -1);
    l.RemoveIndex(0);
    EXPECT_EQ(Entries(l), (std::vector<int*>{&b}));
    l.Clear();
    EXPECT_EQ(l.count(), 0);
    EXPECT_EQ(l.Get(0), nullptr);
}

}  // namespace
