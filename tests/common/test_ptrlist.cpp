#include "PtrList.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <random>
#include <string>
#include <type_traits>
#include <vector>

namespace
{

// Counts every construction and destruction so tests can prove who frees what.
struct Counted
{
    static int s_constructed;
    static int s_destroyed;

    int value;

    // clang-format off
    explicit Counted(int v) : value(v) { s_constructed++; }
    Counted(const Counted& other) : value(other.value) { s_constructed++; }
    ~Counted() { s_destroyed++; }
    static int Live() { return s_constructed - s_destroyed; }
    static void Reset() { s_constructed = s_destroyed = 0; }
    // clang-format on
};
int Counted::s_constructed = 0;
int Counted::s_destroyed = 0;

typedef CPtrList<Counted> List;
typedef CPtrTree<Counted> Tree;

static_assert(!std::is_copy_constructible<List>::value && !std::is_copy_assignable<List>::value,
              "a copied list would free its payloads twice");
static_assert(!std::is_copy_constructible<Tree>::value, "a copied tree would free its subtree twice");

// The canonical walk; it also checks that the walk and GetSize agree.
std::vector<int> Values(List& list)
{
    std::vector<int> out;
    list.ResetCur();
    for (Counted* p = list.GetCur(); p; p = list.GetNext())
        out.push_back(p->value);
    EXPECT_EQ(list.GetSize(), out.size());
    return out;
}

void Fill(List& list, int count)
{
    for (int i = 0; i < count; i++)
        list.Add(new Counted(i), true);
}

class PtrList : public ::testing::Test
{
  protected:
    void SetUp() override
    {
        Counted::Reset();
    }
};

TEST_F(PtrList, WalkStopsAtEndWithIndexOnLastElement)
{
    List list;
    EXPECT_EQ(nullptr, list.GetCur());
    EXPECT_EQ(nullptr, list.GetNext());
    EXPECT_EQ(nullptr, list.GetAt(0));

    Fill(list, 3);
    EXPECT_EQ(0, list.GetCur()->value); // the first Add takes the cursor
    EXPECT_EQ(1, list.GetNext()->value);
    EXPECT_EQ(2, list.GetNext()->value);
    EXPECT_EQ(nullptr, list.GetNext());
    EXPECT_EQ(nullptr, list.GetCur());
    EXPECT_EQ(2, list.GetCurIndex());
    // A stopped walk stays stopped, even when the list grows.
    list.Add(new Counted(3), true);
    EXPECT_EQ(nullptr, list.GetNext());
    EXPECT_EQ(2, list.GetCurIndex());

    EXPECT_EQ(1, list.GetAt(1)->value);
    EXPECT_EQ(nullptr, list.GetAt(4));
    EXPECT_EQ(nullptr, list.GetAt(~0u));
    EXPECT_EQ(1, list.GetCurIndex());
    EXPECT_EQ(2, list.GetNext()->value);
}

TEST_F(PtrList, PayloadsFreedOnceOnlyWhenOwned)
{
    Counted kept[3] = {Counted(100), Counted(101), Counted(102)};
    {
        List list;
        list.Add(new Counted(0), true);
        list.Add(&kept[0], false);
        list.Insert(new Counted(1), 0, true);
        list.Insert(&kept[1], 1, false);
        list.Add(&kept[2], false);
        list.Add(new Counted(2), true); // 1 k1 0 k0 k2 2
        EXPECT_EQ(6, Counted::Live());

        EXPECT_TRUE(list.Delete(1));
        EXPECT_EQ(6, Counted::Live());
        EXPECT_TRUE(list.Delete(0));
        EXPECT_EQ(5, Counted::Live());

        list.Clear();
        EXPECT_EQ(3, Counted::Live());
        list.Add(new Counted(3), true);
        list.Add(&kept[0], false);
    }
    EXPECT_EQ(3, Counted::Live());
}

TEST_F(PtrList, SortIsStableAndKeepsEveryPayload)
{
    // Sorted by tens; equal tens keep their order, as a user's list of equal
    // names does.
    const std::vector<std::vector<int>> cases = {
        {}, {5}, {21, 10}, {31, 12, 20, 11, 33, 10, 22}, {40, 41, 42}, {9, 8, 7, 6, 5}};
    for (const auto& input : cases)
    {
        List list;
        for (int v : input)
            list.Add(new Counted(v), true);
        SortPtrList(list, [](const Counted* a, const Counted* b) { return a->value / 10 - b->value / 10; });
        std::vector<int> expected = input;
        std::stable_sort(expected.begin(), expected.end(), [](int a, int b) { return a / 10 < b / 10; });
        EXPECT_EQ(expected, Values(list));
        list.Add(new Counted(99), true); // the tail is still the last node
        EXPECT_EQ(99, list.GetAt(list.GetSize() - 1)->value);
    }
    EXPECT_EQ(0, Counted::Live());
}

// Insert, delete, swap and index at random places, head and tail included.
TEST_F(PtrList, RandomEditsMatchVectorModel)
{
    std::mt19937 rng(12345);
    for (int round = 0; round < 40; round++)
    {
        List list;
        std::vector<int> model;
        int nextValue = 0;
        for (int step = 0; step < 60; step++)
        {
            SCOPED_TRACE(testing::Message() << "round " << round << ", step " << step);
            unsigned size = (unsigned)model.size();
            unsigned n = rng() % (size + 2);
            switch (rng() % 6)
            {
                case 0:
                    list.Add(new Counted(nextValue), true);
                    model.push_back(nextValue++);
                    break;
                case 1:
                    list.Insert(new Counted(nextValue), n, true);
                    model.insert(model.begin() + (n < size ? n : size), nextValue++);
                    if (n > 0 && n < size)
                    {
                        EXPECT_EQ((int)n - 1, list.GetCurIndex());
                        EXPECT_EQ(model[n - 1], list.GetCur()->value);
                    }
                    break;
                case 2:
                case 3:
                    // The cursor on the node deleted, or on another one.
                    list.GetAt(rng() % 2 ? n : rng() % (size + 1));
                    EXPECT_EQ(n < size, list.Delete(n));
                    if (n < size)
                        model.erase(model.begin() + n);
                    // The cursor is never left on the freed node (the sanitizer
                    // catches the read).
                    if (Counted* cur = list.GetCur())
                    {
                        EXPECT_NE(model.end(), std::find(model.begin(), model.end(), cur->value));
                    }
                    break;
                case 4:
                    // Swapping relinks the head and the tail too: the next Add
                    // must still follow the last node.
                    list.SwapWithNext(n);
                    if (n + 1 < size)
                        std::swap(model[n], model[n + 1]);
                    break;
                case 5: {
                    Counted* p = list.GetAt(n);
                    if (n < size)
                        EXPECT_EQ(model[n], p ? p->value : -1);
                    else
                        EXPECT_EQ(nullptr, p);
                    break;
                }
            }
            ASSERT_EQ(model, Values(list));
            ASSERT_EQ((int)model.size(), Counted::Live());
        }
        list.Clear();
        EXPECT_EQ(0, Counted::Live());
    }
}

class PtrTree : public ::testing::Test
{
  protected:
    void SetUp() override
    {
        Counted::Reset();
    }

    static Tree* AddChild(Tree* parent, int value)
    {
        Tree* child = new Tree(new Counted(value), parent, parent->GetDeleteData());
        parent->Add(child, true);
        return child;
    }

    // root 0 { 1 { 11, 12 { 121 } }, 2, 3 { 31 } }: three levels below the root.
    static void Build(Tree* root)
    {
        root->SetData(new Counted(0));
        Tree* a = AddChild(root, 1);
        AddChild(a, 11);
        AddChild(AddChild(a, 12), 121);
        AddChild(root, 2);
        AddChild(AddChild(root, 3), 31);
    }
};

// Flattens a subtree as "value(children...)" and checks every child's parent
// pointer on the way, so one comparison covers shape, contents and links.
std::string Shape(Tree* node)
{
    std::string s = std::to_string(node->GetData() ? node->GetData()->value : -1);
    if (node->GetSize() == 0)
        return s;
    s += "(";
    for (unsigned i = 0; i < node->GetSize(); i++)
    {
        Tree* child = node->GetAt(i);
        EXPECT_EQ(node, child->GetParent()) << "child " << i << " of " << s;
        if (i > 0)
            s += " ";
        s += Shape(child);
    }
    return s + ")";
}

const char* const kShape = "0(1(11 12(121)) 2 3(31))";

TEST_F(PtrTree, ClearFreesSubtreeOnlyWhenOwned)
{
    Tree root;
    root.SetDeleteData(true);
    Build(&root);
    EXPECT_EQ(kShape, Shape(&root));
    EXPECT_EQ(8, Counted::Live());

    EXPECT_TRUE(root.Clear());
    EXPECT_EQ(0, Counted::Live());
    EXPECT_EQ(nullptr, root.GetData());
    EXPECT_EQ(0u, root.GetSize());
    EXPECT_EQ(nullptr, root.GetCur());

    // A node that does not own its payload leaves it alive, and so does its
    // destructor.
    Counted kept(42);
    {
        Tree borrowed(&kept, nullptr, false);
        borrowed.Clear();
        EXPECT_EQ(nullptr, borrowed.GetData());
        borrowed.SetData(&kept);
    }
    EXPECT_EQ(1, Counted::Live());
}

TEST_F(PtrTree, CopyMakesIndependentDeepCopy)
{
    Tree* source = new Tree;
    source->SetDeleteData(true);
    Build(source);

    Tree copy;
    copy.SetDeleteData(true);
    // Whatever the target held before is freed and replaced.
    copy.SetData(new Counted(-5));
    AddChild(&copy, -6);
    EXPECT_EQ(10, Counted::Live());

    EXPECT_TRUE(copy.Copy(source));
    EXPECT_EQ(3, copy.GetCur()->GetData()->value);
    EXPECT_EQ(2, copy.GetCurIndex());
    EXPECT_EQ(kShape, Shape(&copy));
    EXPECT_EQ(nullptr, copy.GetParent());
    // Each payload is copied once: nothing extra is made and leaked.
    EXPECT_EQ(16, Counted::Live());

    // Nothing is shared: the copy survives changes to the source and its
    // destruction (a shared payload would be read after being freed).
    source->GetAt(0)->GetData()->value = 1000;
    delete source;
    EXPECT_EQ(8, Counted::Live());
    EXPECT_EQ(kShape, Shape(&copy));

    // A copy of a lone node has no children.
    Tree leaf(new Counted(7), nullptr, true);
    EXPECT_TRUE(copy.Copy(&leaf));
    EXPECT_EQ("7", Shape(&copy));
    EXPECT_EQ(2, Counted::Live());
}

TEST_F(PtrTree, CopyRefusesOverlappingSource)
{
    Tree root;
    root.SetDeleteData(true);
    Build(&root);
    Tree* branch = root.GetAt(0);
    Tree* leaf = branch->GetAt(1)->GetAt(0);

    EXPECT_FALSE(root.Copy(&root));
    EXPECT_FALSE(root.Copy(leaf));
    EXPECT_FALSE(leaf->Copy(&root));
    EXPECT_FALSE(root.Copy(nullptr));
    EXPECT_EQ(kShape, Shape(&root));
    EXPECT_EQ(8, Counted::Live());

    // Siblings do not overlap.
    EXPECT_TRUE(root.GetAt(1)->Copy(root.GetAt(2)));
    EXPECT_EQ("0(1(11 12(121)) 3(31) 3(31))", Shape(&root));
}

} // namespace
