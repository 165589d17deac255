#include "core/List.h"

#include <gtest/gtest.h>

#include <vector>

namespace {

// Counts its destructions so the tests can tell RemoveAll from DeleteAll.
struct Item {
    explicit Item(int v, int* deaths = nullptr) : value(v), deaths(deaths) {}
    ~Item()
    {
        if (deaths != nullptr)
            ++*deaths;
    }
    int value;
    int* deaths;
};

std::vector<int> Walk(const List<Item>& list)
{
    std::vector<int> out;
    ListIterator<Item> it(list);
    for (it.First(); !it.IsDone(); it.Next())
        out.push_back(it.CurrentItem()->value);
    return out;
}

TEST(List, AppendRemoveAndGet)
{
    Item a(1), b(2), c(3), d(4);
    List<Item> list;
    EXPECT_EQ(list.Get(0), nullptr);
    EXPECT_EQ(list.Count(), 0u);
    list.Append(&a);
    list.Append(&b);
    list.Append(&c);
    list.Append(&b);
    EXPECT_EQ(list.Count(), 4u);
    EXPECT_EQ(list.Get(1), &b);
    EXPECT_EQ(list.Get(3), &b);
    EXPECT_EQ(list.Get(4), &a);   // past the end: the first
    EXPECT_EQ(list.Get(100), &a);

    list.Remove(&b);  // first occurrence only
    EXPECT_EQ(Walk(list), (std::vector<int>{1, 3, 2}));
    list.Remove(&d);  // absent: nothing happens
    EXPECT_EQ(list.Count(), 3u);
    list.Remove(&a);  // head
    list.Remove(&b);  // tail
    EXPECT_EQ(Walk(list), (std::vector<int>{3}));
    list.Append(&d);  // the tail link must still be right
    EXPECT_EQ(Walk(list), (std::vector<int>{3, 4}));
    list.Remove(&c);
    list.Remove(&d);
    EXPECT_EQ(list.Count(), 0u);
    EXPECT_EQ(list.Get(0), nullptr);
    list.Append(&a);
    EXPECT_EQ(Walk(list), (std::vector<int>{1}));
}

TEST(List, RemoveAllKeepsElementsDeleteAllDestroysThem)
{
    int deaths = 0;
    Item kept(1, &deaths);
    List<Item> list;
    list.Append(&kept);
    list.RemoveAll();
    EXPECT_EQ(deaths, 0);
    EXPECT_EQ(list.Count(), 0u);

    list.Append(new Item(2, &deaths));
    list.Append(new Item(3, &deaths));
    list.DeleteAll();
    EXPECT_EQ(deaths, 2);
    EXPECT_EQ(list.Count(), 0u);
    EXPECT_EQ(list.Get(0), nullptr);
}

TEST(List, CopyFromSharesElements)
{
    Item a(1), b(2), c(3);
    List<Item> source;
    source.Append(&a);
    source.Append(&b);
    List<Item> target;
    target.Append(&c);
    target.CopyFrom(source);
    EXPECT_EQ(Walk(target), (std::vector<int>{1, 2}));
    EXPECT_EQ(target.Get(0), &a);
    target.CopyFrom(target);
    EXPECT_EQ(target.Count(), 2u);
}

TEST(ListIterator, MovesAndPositions)
{
    Item a(1), b(2), c(3);
    List<Item> list;
    list.Append(&a);
    list.Append(&b);
    list.Append(&c);
    ListIterator<Item> it(list);
    Iterator<Item>& walk = it;  // used through the abstract interface
    walk.First();
    EXPECT_EQ(walk.CurrentItem(), &a);
    EXPECT_EQ(it.Position(), 1u);
    walk.Next();
    walk.Next();
    EXPECT_EQ(walk.CurrentItem(), &c);
    EXPECT_EQ(it.Position(), 3u);
    walk.Prev();
    EXPECT_EQ(walk.CurrentItem(), &b);
    EXPECT_EQ(it.Position(), 2u);
    walk.Prev();
    walk.Prev();  // before the first node: done, position stays 1
    EXPECT_TRUE(walk.IsDone());
    EXPECT_EQ(walk.CurrentItem(), nullptr);
    EXPECT_EQ(it.Position(), 1u);

    walk.First();
    for (int i = 0; i < 5; ++i)
        walk.Next();  // no effect once past the end
    EXPECT_TRUE(walk.IsDone());
    EXPECT_EQ(it.Position(), 4u);

    List<Item> empty;
    ListIterator<Item> none(empty);
    none.First();
    EXPECT_TRUE(none.IsDone());
}

}  // namespace
