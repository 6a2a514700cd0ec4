#include "fake_pane_host.hpp"

#include <algorithm>
#include <gmock/gmock.h>
#include <gtest/gtest.h>
#include <map>
#include <string>
#include <vector>

namespace ombrix::test {
namespace {

using ::testing::ElementsAre;
using ::testing::IsEmpty;

// Orientation of the split actions: split_horizontal puts the new pane below (a vertical
// paned), split_vertical to the right (a horizontal paned).
constexpr Orient below = Orient::vertical;
constexpr Orient right = Orient::horizontal;

class PaneLayoutTest : public ::testing::Test {
protected:
    FakeLeaf pane(const std::string& name) {
        auto leaf = std::make_shared<FakePane>();
        leaf->id = ++last_id_;
        leaf->widget = name;
        world.add_leaf_widget(name);
        return leaf;
    }

    std::vector<std::string> order() const {
        std::vector<std::string> names;
        for (const FakeLeaf& leaf : layout.leaves()) {
            names.push_back(leaf->widget);
        }
        return names;
    }

    std::string focused_name() const {
        auto leaf = layout.focused();
        return leaf ? (*leaf)->widget : std::string("<none>");
    }

    // Names of the leaves that carry the focus mark.
    std::vector<std::string> marked(const std::vector<FakeLeaf>& all) const {
        std::vector<std::string> names;
        for (const FakeLeaf& leaf : all) {
            if (leaf->focused) {
                names.push_back(leaf->widget);
            }
        }
        return names;
    }

    // The operations recorded since `from`.
    std::vector<std::string> ops_since(std::size_t from) const {
        return {world.ops.begin() + static_cast<std::ptrdiff_t>(from), world.ops.end()};
    }

    bool logged(const std::string& op) const {
        return std::find(world.ops.begin(), world.ops.end(), op) != world.ops.end();
    }

    // The tree of the split edge cases: V(top, H(lower-left, lower-right)), focus on
    // lower-right.
    void build_three() {
        top = pane("top");
        lower_left = pane("ll");
        lower_right = pane("lr");
        layout.start(top);
        ASSERT_TRUE(layout.insert_split(below, lower_left));
        ASSERT_TRUE(layout.insert_split(right, lower_right));
    }

    FakeWorld world;
    FakeHost host{world};
    FakeLayout layout{host};
    FakeLeaf top, lower_left, lower_right;

private:
    std::uint64_t last_id_ = 0;
};

TEST_F(PaneLayoutTest, StartShowsTheSinglePaneFocused) {
    auto first = pane("a");
    layout.start(first);

    EXPECT_EQ(world.describe(), "a");
    EXPECT_EQ(layout.count(), 1u);
    EXPECT_EQ(layout.focused_id(), first->id);
    EXPECT_TRUE(first->focused);
    EXPECT_EQ(world.keyboard_focus, "a");
    EXPECT_THAT(world.faults, IsEmpty());
}

TEST_F(PaneLayoutTest, SplitBelowPutsOldOnTopNewBelowAndFocusesNew) {
    auto old_pane = pane("old");
    auto new_pane = pane("new");
    layout.start(old_pane);
    const std::size_t mark = world.ops.size();

    ASSERT_TRUE(layout.insert_split(below, new_pane));

    EXPECT_EQ(world.describe(), "V(old,new)");
    EXPECT_EQ(layout.focused_id(), new_pane->id);
    EXPECT_TRUE(new_pane->focused);
    EXPECT_FALSE(old_pane->focused);
    EXPECT_EQ(world.keyboard_focus, "new");
    EXPECT_THAT(ops_since(mark),
                ElementsAre("detach old from content", "new P1 V", "P1.start = old", "P1.end = new",
                            "content clear", "content append P1", "unmark old", "mark new",
                            "grab new"));
    EXPECT_THAT(world.faults, IsEmpty());
}

TEST_F(PaneLayoutTest, SplitRightOfLowerPaneNestsAHorizontalSplit) {
    build_three();

    EXPECT_EQ(world.describe(), "V(top,H(ll,lr))");
    EXPECT_THAT(order(), ElementsAre("top", "ll", "lr"));
    EXPECT_EQ(layout.count(), 3u);
    EXPECT_EQ(focused_name(), "lr");
    EXPECT_THAT(marked({top, lower_left, lower_right}), ElementsAre("lr"));
    EXPECT_EQ(world.keyboard_focus, "lr");
    EXPECT_THAT(world.faults, IsEmpty());
}

TEST_F(PaneLayoutTest, SplitInsideASplitReplacesTheLeafOnItsOwnSide) {
    build_three();
    // The focused leaf sits at the end of P2, which sits at the end of P1: the new paned must
    // go into P2's end slot, and P2 back into P1's end slot.
    const std::size_t mark = world.ops.size();
    auto extra = pane("x");
    ASSERT_TRUE(layout.insert_split(below, extra));

    EXPECT_EQ(world.describe(), "V(top,H(ll,V(lr,x)))");
    EXPECT_THAT(ops_since(mark),
                ElementsAre("detach lr from P2", "new P3 V", "P3.start = lr", "P3.end = x",
                            "P2.end = P3", "detach P2 from P1", "P1.end = P2", "content clear",
                            "content append P1", "unmark lr", "mark x", "grab x"));
    EXPECT_THAT(world.faults, IsEmpty());
}

TEST_F(PaneLayoutTest, NestedSplitsKeepTheOrientationOfTheAction) {
    auto a = pane("a");
    layout.start(a);
    ASSERT_TRUE(layout.insert_split(right, pane("b")));
    ASSERT_TRUE(layout.insert_split(below, pane("c")));
    ASSERT_TRUE(layout.insert_split(right, pane("d")));
    ASSERT_TRUE(layout.insert_split(right, pane("e")));

    EXPECT_EQ(world.describe(), "H(a,V(b,H(c,H(d,e))))");
    EXPECT_THAT(order(), ElementsAre("a", "b", "c", "d", "e"));
    EXPECT_THAT(world.faults, IsEmpty());
}

TEST_F(PaneLayoutTest, SplitOfAFirstChildGoesIntoTheStartSlot) {
    auto a = pane("a");
    auto b = pane("b");
    layout.start(a);
    ASSERT_TRUE(layout.insert_split(right, b));
    layout.focus(a);
    ASSERT_TRUE(layout.insert_split(below, pane("c")));

    EXPECT_EQ(world.describe(), "H(V(a,c),b)");
    EXPECT_TRUE(logged("P1.start = P2"));
    EXPECT_THAT(order(), ElementsAre("a", "c", "b"));
    EXPECT_THAT(world.faults, IsEmpty());
}

TEST_F(PaneLayoutTest, NewPaneIsTakenOutOfAnyParentItHad) {
    auto a = pane("a");
    auto b = pane("b");
    world.place_in_box("elsewhere", "b");
    layout.start(a);

    ASSERT_TRUE(layout.insert_split(below, b));

    EXPECT_EQ(world.describe(), "V(a,b)");
    EXPECT_THAT(world.boxes["elsewhere"], IsEmpty());
    EXPECT_TRUE(logged("detach b from elsewhere"));
    EXPECT_THAT(world.faults, IsEmpty());
}

TEST_F(PaneLayoutTest, FocusCyclesInTreeOrderAndWraps) {
    build_three();
    ASSERT_EQ(focused_name(), "lr");

    layout.focus_next();
    EXPECT_EQ(focused_name(), "top");
    EXPECT_EQ(world.keyboard_focus, "top");
    layout.focus_prev();
    EXPECT_EQ(focused_name(), "lr");
    layout.focus_prev();
    EXPECT_EQ(focused_name(), "ll");
    layout.focus_prev();
    EXPECT_EQ(focused_name(), "top");
    layout.focus_next();
    EXPECT_EQ(focused_name(), "ll");
    EXPECT_THAT(marked({top, lower_left, lower_right}), ElementsAre("ll"));
}

TEST_F(PaneLayoutTest, FocusCyclingNeedsTwoPanesAndAKnownFocus) {
    auto a = pane("a");
    layout.start(a);
    std::size_t mark = world.ops.size();
    layout.focus_next();
    layout.focus_prev();
    EXPECT_THAT(ops_since(mark), IsEmpty());

    ASSERT_TRUE(layout.insert_split(below, pane("b")));
    // The focus mark on a pane that is not in the tree: cycling has no position to start from.
    auto outsider = pane("outsider");
    layout.focus(outsider);
    mark = world.ops.size();
    layout.focus_next();
    layout.focus_prev();
    EXPECT_THAT(ops_since(mark), IsEmpty());
    EXPECT_EQ(layout.focused_id(), outsider->id);
}

TEST_F(PaneLayoutTest, FocusUnmarksOnlyAnotherPane) {
    build_three();
    std::size_t mark = world.ops.size();
    layout.focus(top);
    EXPECT_THAT(ops_since(mark), ElementsAre("unmark lr", "mark top", "grab top"));

    mark = world.ops.size();
    layout.focus(top);
    EXPECT_THAT(ops_since(mark), ElementsAre("mark top", "grab top"));
    EXPECT_TRUE(top->focused);
}

TEST_F(PaneLayoutTest, RemovingTopCollapsesTheRootIntoTheInnerSplit) {
    build_three();
    const std::size_t mark = world.ops.size();

    auto result = layout.remove(top->id);

    ASSERT_TRUE(result.removed);
    ASSERT_TRUE(result.focused.has_value());
    EXPECT_EQ((*result.focused)->widget, "ll");
    EXPECT_EQ(world.describe(), "H(ll,lr)");
    EXPECT_THAT(order(), ElementsAre("ll", "lr"));
    EXPECT_EQ(focused_name(), "ll");
    EXPECT_EQ(world.keyboard_focus, "ll");
    EXPECT_FALSE(lower_right->focused);
    EXPECT_TRUE(lower_left->focused);
    // The paned gives up both children before it is dropped; it is freed once the content no
    // longer shows it.
    EXPECT_THAT(ops_since(mark),
                ElementsAre("P1.start = -", "P1.end = -", "drop P1 (empty)", "content remove first",
                            "finalize P1", "content append P2", "unmark lr", "mark ll", "grab ll"));
    EXPECT_EQ(world.parent_of("top"), "");
    EXPECT_THAT(world.faults, IsEmpty());
}

TEST_F(PaneLayoutTest, RemovingLowerRightFocusesTheFirstPaneNotTheNeighbour) {
    build_three();
    const std::size_t mark = world.ops.size();

    auto result = layout.remove(lower_right->id);

    ASSERT_TRUE(result.removed);
    ASSERT_TRUE(result.focused.has_value());
    EXPECT_EQ((*result.focused)->widget, "top");
    EXPECT_EQ(world.describe(), "V(top,ll)");
    EXPECT_EQ(focused_name(), "top");
    EXPECT_THAT(marked({top, lower_left}), ElementsAre("top"));
    // The survivor goes into the end slot of the outer paned, where the inner paned was.
    EXPECT_THAT(ops_since(mark), ElementsAre("P2.start = -", "P2.end = -", "drop P2 (empty)",
                                             "P1.end = ll", "finalize P2", "content remove first",
                                             "content append P1", "mark top", "grab top"));
    EXPECT_EQ(world.parent_of("lr"), "");
    EXPECT_THAT(world.faults, IsEmpty());
}

TEST_F(PaneLayoutTest, RemovingTheOnlyPaneEmptiesTheTree) {
    auto a = pane("a");
    layout.start(a);

    auto result = layout.remove(a->id);

    EXPECT_TRUE(result.removed);
    EXPECT_FALSE(result.focused.has_value());
    EXPECT_TRUE(layout.empty());
    EXPECT_EQ(layout.count(), 0u);
    EXPECT_THAT(layout.leaves(), IsEmpty());
    EXPECT_FALSE(layout.focused().has_value());
    // Nothing may keep showing (and holding) the removed pane.
    EXPECT_THAT(world.content, IsEmpty());
    EXPECT_EQ(world.parent_of("a"), "");

    // An empty tree takes neither splits nor removals.
    const std::size_t mark = world.ops.size();
    EXPECT_FALSE(layout.insert_split(below, pane("b")));
    EXPECT_FALSE(layout.remove(a->id).removed);
    EXPECT_THAT(ops_since(mark), IsEmpty());
    EXPECT_THAT(world.faults, IsEmpty());
}

TEST_F(PaneLayoutTest, UnknownPanesChangeNothing) {
    build_three();
    const std::string before = world.describe();
    const std::size_t mark = world.ops.size();

    auto result = layout.remove(9999);
    EXPECT_FALSE(result.removed);
    EXPECT_FALSE(result.focused.has_value());

    // A split needs the focused pane in the tree.
    auto outsider = pane("outsider");
    layout.focus(outsider);
    const std::size_t after_focus = world.ops.size();
    auto extra = pane("x");
    EXPECT_FALSE(layout.insert_split(right, extra));

    EXPECT_EQ(world.describe(), before);
    EXPECT_EQ(layout.count(), 3u);
    EXPECT_THAT(
        std::vector<std::string>(world.ops.begin() + static_cast<std::ptrdiff_t>(mark),
                                 world.ops.begin() + static_cast<std::ptrdiff_t>(after_focus)),
        ElementsAre("unmark lr", "mark outsider", "grab outsider"));
    EXPECT_THAT(ops_since(after_focus), IsEmpty());
    EXPECT_EQ(world.parent_of("x"), "");
    EXPECT_THAT(world.faults, IsEmpty());
}

TEST_F(PaneLayoutTest, LookUpFindsPanesByIdInTreeOrder) {
    build_three();
    ASSERT_TRUE(layout.find(lower_left->id).has_value());
    EXPECT_EQ(*layout.find(lower_left->id), lower_left);
    EXPECT_FALSE(layout.find(12345).has_value());
    EXPECT_EQ(layout.root_widget(), "P1");
}

// One removal from a deeper tree: the survivor must land in the slot its collapsed split
// occupied, and the focus goes to the first remaining pane.
struct RemovalCase {
    const char* name;
    const char* remove;
    const char* shape;
    const char* focus;
};

class PaneLayoutRemovalTest : public PaneLayoutTest,
                              public ::testing::WithParamInterface<RemovalCase> {};

// Cases naming a..d remove from V(a, H(b, V(c, d))); cases naming e..g from H(V(e, g), f),
// whose inner split sits in the start slot.
TEST_P(PaneLayoutRemovalTest, SurvivorTakesTheCollapsedSplitsPlace) {
    const RemovalCase& param = GetParam();
    std::map<std::string, FakeLeaf> panes;
    auto make = [&](const char* name) {
        return panes[name] = pane(name);
    };
    const std::string target = param.remove;
    if (target <= "d") {
        layout.start(make("a"));
        ASSERT_TRUE(layout.insert_split(below, make("b")));
        ASSERT_TRUE(layout.insert_split(right, make("c")));
        ASSERT_TRUE(layout.insert_split(below, make("d")));
        ASSERT_EQ(world.describe(), "V(a,H(b,V(c,d)))");
    } else {
        layout.start(make("e"));
        ASSERT_TRUE(layout.insert_split(right, make("f")));
        layout.focus(panes["e"]);
        ASSERT_TRUE(layout.insert_split(below, make("g")));
        ASSERT_EQ(world.describe(), "H(V(e,g),f)");
    }
    const std::size_t before = layout.count();

    auto result = layout.remove(panes[target]->id);

    ASSERT_TRUE(result.removed);
    EXPECT_EQ(world.describe(), param.shape);
    EXPECT_EQ(layout.count(), before - 1);
    ASSERT_TRUE(result.focused.has_value());
    EXPECT_EQ((*result.focused)->widget, param.focus);
    EXPECT_EQ(focused_name(), param.focus);
    std::vector<FakeLeaf> remaining = layout.leaves();
    EXPECT_THAT(marked(remaining), ElementsAre(param.focus));
    EXPECT_EQ(world.parent_of(target), "");
    // Every collapsed paned was emptied before its owner let it go.
    for (const std::string& op : world.ops) {
        EXPECT_EQ(op.find("holding children"), std::string::npos) << op;
        EXPECT_EQ(op.find("with children"), std::string::npos) << op;
    }
    EXPECT_THAT(world.faults, IsEmpty());
}

INSTANTIATE_TEST_SUITE_P(Trees, PaneLayoutRemovalTest,
                         ::testing::Values(RemovalCase{"RootFirst", "a", "H(b,V(c,d))", "b"},
                                           RemovalCase{"MiddleFirst", "b", "V(a,V(c,d))", "a"},
                                           RemovalCase{"DeepFirst", "c", "V(a,H(b,d))", "a"},
                                           RemovalCase{"DeepSecond", "d", "V(a,H(b,c))", "a"},
                                           RemovalCase{"StartSideSecond", "g", "H(e,f)", "e"},
                                           RemovalCase{"StartSideFirst", "e", "H(g,f)", "g"},
                                           RemovalCase{"RootSecond", "f", "V(e,g)", "e"}),
                         [](const ::testing::TestParamInfo<RemovalCase>& info) {
                             return std::string(info.param.name);
                         });

TEST_F(PaneLayoutTest, RemovalsDownToOnePaneKeepAConsistentWidgetTree) {
    build_three();
    auto extra = pane("x");
    ASSERT_TRUE(layout.insert_split(below, extra)); // V(top, H(ll, V(lr, x)))

    ASSERT_TRUE(layout.remove(lower_left->id).removed);
    EXPECT_EQ(world.describe(), "V(top,V(lr,x))");
    ASSERT_TRUE(layout.remove(top->id).removed);
    EXPECT_EQ(world.describe(), "V(lr,x)");
    ASSERT_TRUE(layout.remove(extra->id).removed);
    EXPECT_EQ(world.describe(), "lr");
    EXPECT_EQ(focused_name(), "lr");
    EXPECT_THAT(world.faults, IsEmpty());

    // Every paned made along the way has been freed; only the last pane is shown.
    for (int i = 1; i <= world.paned_counter; ++i) {
        EXPECT_TRUE(world.nodes["P" + std::to_string(i)].finalized) << "P" << i;
    }
}

} // namespace
} // namespace ombrix::test
