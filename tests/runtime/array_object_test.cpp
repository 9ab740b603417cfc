// Arrays start zeroed and share their elements; objects live while referenced and go at the collector step.
#include <gtest/gtest.h>

#include "runtime/array.h"
#include "runtime/object.h"
#include "runtime/string.h"

namespace {

TEST(ArrayTest, NewElementsStartEmptyAndCopiesShare) {
    Array<int> numbers(5);
    Array<bool> flags(3);
    Array<String> texts(2);
    EXPECT_EQ(numbers.Length(), 5);
    for (int v : numbers) EXPECT_EQ(v, 0);
    for (bool f : flags) EXPECT_FALSE(f);
    EXPECT_TRUE(texts[1].Empty());

    Array<int> alias = numbers;
    alias[2] = 7;
    EXPECT_EQ(numbers[2], 7);
    EXPECT_TRUE(alias.SharesWith(numbers));

    Array<int> grown = numbers.Resized(8);
    EXPECT_EQ(grown.Length(), 8);
    EXPECT_EQ(grown[2], 7);
    EXPECT_EQ(grown[7], 0);
    EXPECT_EQ(Array<int>(-3).Length(), 0);
}

struct Tracked : Object {
    explicit Tracked(int* alive) : alive_(alive) { ++*alive_; }
    ~Tracked() override { --*alive_; }
    StrongRef<Tracked> next;
    int* alive_;
};

TEST(ObjectTest, LivesWhileReferencedAndGoesAtTheCollectorStep) {
    gc_collect();
    int alive = 0;
    {
        StrongRef<Tracked> a = MakeRef<Tracked>(&alive);
        a->next = MakeRef<Tracked>(&alive);
        StrongRef<Tracked> b = a;
        EXPECT_EQ(a->RefCount(), 2);
    }
    EXPECT_EQ(alive, 2) << "nothing is destroyed in the middle of a callback";
    EXPECT_EQ(gc_collect(), 2) << "a destructor that drops the last reference of another frees it in the same step";
    EXPECT_EQ(alive, 0);
    EXPECT_EQ(gc_pending(), 0);
}

TEST(ObjectTest, ReferencePickedUpAgainBeforeTheStepKeepsTheObject) {
    gc_collect();
    int alive = 0;
    Tracked* raw = new Tracked(&alive);
    { StrongRef<Tracked> first(raw); }
    StrongRef<Tracked> again(raw);
    again = nullptr;   // dropped to zero a second time before the step: still freed exactly once
    again = StrongRef<Tracked>(raw);
    gc_collect();
    EXPECT_EQ(alive, 1);
    again = nullptr;
    EXPECT_EQ(gc_collect(), 1);
    EXPECT_EQ(alive, 0);
}

}  // namespace
