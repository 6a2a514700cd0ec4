#include "gui_fixture.hpp"
#include "terminal/terminal_pane.hpp"
#include "ui/gobject_ptr.hpp"
#include "ui/pane/pane_tree.hpp"

#include <gtest/gtest.h>
#include <memory>
#include <string>
#include <vector>

namespace ombrix::test {
namespace {

using terminal::PaneRef;
using ui::PaneTreeRef;

constexpr const char* focused_class = "ombrix-pane-focused";

// Warnings the libraries log while a test runs. Re-parenting mistakes often show up only as
// toolkit warnings (criticals already abort the test run), so each test checks this list.
std::vector<std::string>& library_warnings() {
    static std::vector<std::string> warnings;
    return warnings;
}

GLogWriterOutput record_warnings(GLogLevelFlags level, const GLogField* fields, gsize n_fields,
                                 gpointer data) {
    if ((level & (G_LOG_LEVEL_WARNING | G_LOG_LEVEL_CRITICAL)) != 0) {
        std::string message;
        for (gsize i = 0; i < n_fields; ++i) {
            if (g_strcmp0(fields[i].key, "MESSAGE") == 0 && fields[i].length < 0) {
                message = static_cast<const char*>(fields[i].value);
            }
        }
        library_warnings().push_back(message);
    }
    return g_log_writer_default(level, fields, n_fields, data);
}

class WarningRecorder : public ::testing::Environment {
public:
    void SetUp() override { g_log_set_writer_func(record_warnings, nullptr, nullptr); }
};

const auto* const warning_recorder =
    ::testing::AddGlobalTestEnvironment(new WarningRecorder); // gtest owns it

// A pane without a shell: a terminal in its container, as the tree sees every pane.
PaneRef make_pane() {
    VteTerminal* vte = VTE_TERMINAL(vte_terminal_new());
    GtkWidget* box = gtk_box_new(GTK_ORIENTATION_VERTICAL, 0);
    gtk_box_append(GTK_BOX(box), GTK_WIDGET(vte));
    return std::make_shared<terminal::TerminalPane>(terminal::VteBackend(vte, 1.0),
                                                    ui::ref_sink(box), terminal::next_pane_id());
}

int child_count(GtkWidget* widget) {
    int count = 0;
    for (GtkWidget* child = gtk_widget_get_first_child(widget); child != nullptr;
         child = gtk_widget_get_next_sibling(child)) {
        ++count;
    }
    return count;
}

// Writes the shown widget tree as "V(#1,H(#2,#3))" with pane ids, "?" for unknown widgets.
std::string shape(GtkWidget* widget, const std::vector<PaneRef>& panes) {
    if (widget == nullptr) {
        return "-";
    }
    if (GTK_IS_PANED(widget)) {
        GtkPaned* paned = GTK_PANED(widget);
        const bool vertical =
            gtk_orientable_get_orientation(GTK_ORIENTABLE(widget)) == GTK_ORIENTATION_VERTICAL;
        return std::string(vertical ? "V(" : "H(") +
               shape(gtk_paned_get_start_child(paned), panes) + "," +
               shape(gtk_paned_get_end_child(paned), panes) + ")";
    }
    for (const PaneRef& pane : panes) {
        if (pane->container.get() == widget) {
            return "#" + std::to_string(pane->id);
        }
    }
    return "?";
}

class PaneTreeTest : public ::testing::Test {
protected:
    void SetUp() override {
        library_warnings().clear();
        window = GTK_WINDOW(gtk_window_new());
        gtk_window_set_default_size(window, 800, 600);
    }

    void TearDown() override {
        if (window != nullptr) {
            gtk_window_destroy(window);
            window = nullptr;
        }
        pump_for(20);
        EXPECT_TRUE(library_warnings().empty())
            << library_warnings().size() << " warning(s), first: " << library_warnings().front();
    }

    // A tree of one pane shown in the window.
    PaneTreeRef show_tree(const PaneRef& first) {
        auto tree = ui::PaneTree::create(first);
        gtk_window_set_child(window, tree->content());
        gtk_window_present(window);
        EXPECT_TRUE(pump_until([&] { return gtk_widget_get_mapped(tree->content()); }));
        return tree;
    }

    // The content's only child, described by pane ids.
    std::string shown(const PaneTreeRef& tree, const std::vector<PaneRef>& panes) {
        GtkWidget* content = tree->content();
        if (child_count(content) != 1) {
            return "children: " + std::to_string(child_count(content));
        }
        return shape(gtk_widget_get_first_child(content), panes);
    }

    std::string id(const PaneRef& pane) { return "#" + std::to_string(pane->id); }

    // The panes that carry the focus class, and that exactly those have `focused` set.
    std::vector<std::uint64_t> marked(const std::vector<PaneRef>& panes) {
        std::vector<std::uint64_t> out;
        for (const PaneRef& pane : panes) {
            const bool has_class = gtk_widget_has_css_class(pane->container.get(), focused_class);
            EXPECT_EQ(has_class, pane->focused) << "pane " << pane->id;
            if (has_class) {
                out.push_back(pane->id);
            }
        }
        return out;
    }

    bool has_keyboard_focus(const PaneRef& pane) {
        return pump_until([&] { return gtk_window_get_focus(window) == pane->backend.widget(); },
                          3000);
    }

    // V(top, H(lower-left, lower-right)) by split_horizontal, then split_vertical on the lower
    // pane.
    PaneTreeRef build_three() {
        top = make_pane();
        lower_left = make_pane();
        lower_right = make_pane();
        auto tree = show_tree(top);
        EXPECT_TRUE(tree->insert_split(GTK_ORIENTATION_VERTICAL, lower_left));
        EXPECT_TRUE(tree->insert_split(GTK_ORIENTATION_HORIZONTAL, lower_right));
        return tree;
    }

    GtkWindow* window = nullptr;
    PaneRef top, lower_left, lower_right;
};

TEST_F(PaneTreeTest, CreateShowsTheFirstPaneFocusedInAnExpandingBox) {
    auto pane = make_pane();
    auto tree = ui::PaneTree::create(pane);

    GtkWidget* content = tree->content();
    ASSERT_TRUE(GTK_IS_BOX(content));
    EXPECT_EQ(gtk_orientable_get_orientation(GTK_ORIENTABLE(content)), GTK_ORIENTATION_VERTICAL);
    EXPECT_EQ(gtk_box_get_spacing(GTK_BOX(content)), 0);
    EXPECT_TRUE(gtk_widget_get_hexpand(content));
    EXPECT_TRUE(gtk_widget_get_vexpand(content));
    EXPECT_EQ(gtk_widget_get_first_child(content), pane->container.get());
    EXPECT_EQ(child_count(content), 1);
    EXPECT_EQ(tree->focused_id(), pane->id);
    EXPECT_EQ(tree->focused_pane(), pane);
    EXPECT_EQ(tree->pane_count(), 1u);
    EXPECT_EQ(marked({pane}), std::vector<std::uint64_t>{pane->id});
}

TEST_F(PaneTreeTest, SplitHorizontalStacksTheNewPaneBelowAndFocusesIt) {
    auto old_pane = make_pane();
    auto new_pane = make_pane();
    auto tree = show_tree(old_pane);

    ASSERT_TRUE(tree->insert_split(GTK_ORIENTATION_VERTICAL, new_pane));

    EXPECT_EQ(shown(tree, {old_pane, new_pane}), "V(" + id(old_pane) + "," + id(new_pane) + ")");
    GtkWidget* paned = gtk_widget_get_first_child(tree->content());
    ASSERT_TRUE(GTK_IS_PANED(paned));
    EXPECT_TRUE(gtk_paned_get_resize_start_child(GTK_PANED(paned)));
    EXPECT_TRUE(gtk_paned_get_resize_end_child(GTK_PANED(paned)));
    EXPECT_TRUE(gtk_paned_get_shrink_start_child(GTK_PANED(paned)));
    EXPECT_TRUE(gtk_paned_get_shrink_end_child(GTK_PANED(paned)));
    EXPECT_TRUE(gtk_widget_get_hexpand(paned));
    EXPECT_TRUE(gtk_widget_get_vexpand(paned));

    EXPECT_EQ(tree->focused_pane(), new_pane);
    EXPECT_EQ(marked({old_pane, new_pane}), std::vector<std::uint64_t>{new_pane->id});
    EXPECT_TRUE(has_keyboard_focus(new_pane));
}

TEST_F(PaneTreeTest, SplitVerticalOfTheLowerPaneNestsSideBySide) {
    auto tree = build_three();

    EXPECT_EQ(shown(tree, {top, lower_left, lower_right}),
              "V(" + id(top) + ",H(" + id(lower_left) + "," + id(lower_right) + "))");
    EXPECT_EQ(tree->pane_count(), 3u);
    std::vector<PaneRef> expected_order{top, lower_left, lower_right};
    EXPECT_EQ(tree->leaves(), expected_order);
    EXPECT_EQ(tree->find(lower_left->id), lower_left);
    EXPECT_EQ(tree->find(987654321), nullptr);
    EXPECT_EQ(marked({top, lower_left, lower_right}), std::vector<std::uint64_t>{lower_right->id});
    EXPECT_TRUE(has_keyboard_focus(lower_right));
    // Every terminal is shown, none lost while being moved between parents.
    for (const PaneRef& pane : expected_order) {
        EXPECT_TRUE(pump_until([&] { return gtk_widget_get_mapped(pane->backend.widget()); }))
            << "pane " << pane->id;
    }
}

TEST_F(PaneTreeTest, FocusCyclingMovesMarkAndKeyboardFocus) {
    auto tree = build_three();

    tree->focus_next_pane();
    EXPECT_EQ(tree->focused_pane(), top);
    EXPECT_EQ(marked({top, lower_left, lower_right}), std::vector<std::uint64_t>{top->id});
    EXPECT_TRUE(has_keyboard_focus(top));

    tree->focus_prev_pane();
    EXPECT_EQ(tree->focused_pane(), lower_right);
    EXPECT_EQ(marked({top, lower_left, lower_right}), std::vector<std::uint64_t>{lower_right->id});
    EXPECT_TRUE(has_keyboard_focus(lower_right));

    tree->focus_pane(lower_left);
    EXPECT_EQ(tree->focused_id(), lower_left->id);
    EXPECT_EQ(marked({top, lower_left, lower_right}), std::vector<std::uint64_t>{lower_left->id});
    EXPECT_TRUE(has_keyboard_focus(lower_left));
}

TEST_F(PaneTreeTest, ClosingTopMakesTheInnerPanedTheContent) {
    auto tree = build_three();
    ui::GWeakPtr<VteTerminal> top_terminal(top->terminal());
    GtkWidget* inner =
        gtk_paned_get_end_child(GTK_PANED(gtk_widget_get_first_child(tree->content())));
    ui::GWeakPtr<GtkWidget> outer(gtk_widget_get_first_child(tree->content()));

    auto removal = tree->remove_pane(top->id);

    ASSERT_TRUE(removal.removed);
    EXPECT_EQ(removal.focused, lower_left);
    EXPECT_EQ(gtk_widget_get_first_child(tree->content()), inner);
    EXPECT_EQ(shown(tree, {lower_left, lower_right}),
              "H(" + id(lower_left) + "," + id(lower_right) + ")");
    EXPECT_EQ(gtk_widget_get_parent(top->container.get()), nullptr);
    EXPECT_EQ(tree->pane_count(), 2u);
    EXPECT_EQ(tree->focused_pane(), lower_left);
    EXPECT_EQ(marked({lower_left, lower_right}), std::vector<std::uint64_t>{lower_left->id});
    EXPECT_TRUE(has_keyboard_focus(lower_left));

    // The collapsed paned is gone, and the removed terminal goes with its last holder.
    EXPECT_FALSE(outer.get());
    top.reset();
    EXPECT_TRUE(pump_until([&] { return !top_terminal.get(); }, 3000));
}

TEST_F(PaneTreeTest, ClosingLowerRightFocusesTheTopPane) {
    auto tree = build_three();
    GtkWidget* outer = gtk_widget_get_first_child(tree->content());
    ui::GWeakPtr<GtkWidget> inner(gtk_paned_get_end_child(GTK_PANED(outer)));

    auto removal = tree->remove_pane(lower_right->id);

    ASSERT_TRUE(removal.removed);
    EXPECT_EQ(removal.focused, top);
    EXPECT_EQ(gtk_widget_get_first_child(tree->content()), outer);
    EXPECT_EQ(gtk_paned_get_end_child(GTK_PANED(outer)), lower_left->container.get());
    EXPECT_EQ(shown(tree, {top, lower_left}), "V(" + id(top) + "," + id(lower_left) + ")");
    EXPECT_EQ(marked({top, lower_left}), std::vector<std::uint64_t>{top->id});
    EXPECT_TRUE(has_keyboard_focus(top));
    EXPECT_FALSE(inner.get());
    EXPECT_TRUE(pump_until([&] { return gtk_widget_get_mapped(lower_left->backend.widget()); }));
}

TEST_F(PaneTreeTest, ClosingTheOnlyPaneEmptiesTheContent) {
    auto pane = make_pane();
    auto tree = show_tree(pane);
    ui::GWeakPtr<VteTerminal> terminal(pane->terminal());

    auto removal = tree->remove_pane(pane->id);

    EXPECT_TRUE(removal.removed);
    EXPECT_EQ(removal.focused, nullptr);
    EXPECT_EQ(tree->pane_count(), 0u);
    EXPECT_TRUE(tree->leaves().empty());
    EXPECT_EQ(tree->focused_pane(), nullptr);
    EXPECT_EQ(child_count(tree->content()), 0);
    pane.reset();
    EXPECT_TRUE(pump_until([&] { return !terminal.get(); }, 3000));

    EXPECT_FALSE(tree->insert_split(GTK_ORIENTATION_VERTICAL, make_pane()));
    EXPECT_EQ(child_count(tree->content()), 0);
}

TEST_F(PaneTreeTest, UnknownPaneChangesNothing) {
    auto tree = build_three();
    const std::string before = shown(tree, {top, lower_left, lower_right});

    auto removal = tree->remove_pane(987654321);

    EXPECT_FALSE(removal.removed);
    EXPECT_EQ(removal.focused, nullptr);
    EXPECT_EQ(shown(tree, {top, lower_left, lower_right}), before);
    EXPECT_EQ(tree->focused_pane(), lower_right);

    // A split whose focused pane is not in the tree leaves the tree and the new pane alone.
    auto outsider = make_pane();
    tree->focus_pane(outsider);
    auto extra = make_pane();
    EXPECT_FALSE(tree->insert_split(GTK_ORIENTATION_VERTICAL, extra));
    EXPECT_EQ(shown(tree, {top, lower_left, lower_right}), before);
    EXPECT_EQ(gtk_widget_get_parent(extra->container.get()), nullptr);
}

TEST_F(PaneTreeTest, RepeatedSplitsAndRemovalsKeepTerminalsShown) {
    auto a = make_pane();
    auto tree = show_tree(a);
    std::vector<PaneRef> panes{a};
    const GtkOrientation orientations[] = {GTK_ORIENTATION_HORIZONTAL, GTK_ORIENTATION_VERTICAL,
                                           GTK_ORIENTATION_VERTICAL, GTK_ORIENTATION_HORIZONTAL};
    for (GtkOrientation orientation : orientations) {
        auto pane = make_pane();
        ASSERT_TRUE(tree->insert_split(orientation, pane));
        panes.push_back(pane);
    }
    // a | (b / (c / (d | e)))
    EXPECT_EQ(shown(tree, panes), "H(" + id(panes[0]) + ",V(" + id(panes[1]) + ",V(" +
                                      id(panes[2]) + ",H(" + id(panes[3]) + "," + id(panes[4]) +
                                      "))))");

    // Remove from the middle outwards; what is left stays shown and focused.
    for (std::size_t index : {2u, 0u, 4u, 1u}) {
        ASSERT_TRUE(tree->remove_pane(panes[index]->id).removed);
        auto remaining = tree->leaves();
        ASSERT_FALSE(remaining.empty());
        EXPECT_EQ(tree->focused_pane(), remaining.front());
        EXPECT_TRUE(has_keyboard_focus(remaining.front()));
        for (const PaneRef& pane : remaining) {
            EXPECT_TRUE(pump_until([&] { return gtk_widget_get_mapped(pane->backend.widget()); }))
                << "pane " << pane->id;
        }
    }
    EXPECT_EQ(shown(tree, panes), id(panes[3]));
}

TEST_F(PaneTreeTest, DroppingTheTreeReleasesItsTerminals) {
    std::vector<ui::GWeakPtr<VteTerminal>> terminals;
    std::vector<ui::GWeakPtr<GtkWidget>> paneds;
    {
        auto tree = build_three();
        for (const PaneRef& pane : tree->leaves()) {
            terminals.emplace_back(pane->terminal());
        }
        GtkWidget* outer = gtk_widget_get_first_child(tree->content());
        paneds.emplace_back(outer);
        paneds.emplace_back(gtk_paned_get_end_child(GTK_PANED(outer)));
        top.reset();
        lower_left.reset();
        lower_right.reset();
    }
    gtk_window_destroy(window);
    window = nullptr;

    ASSERT_EQ(terminals.size(), 3u);
    for (const auto& terminal : terminals) {
        EXPECT_TRUE(pump_until([&] { return !terminal.get(); }, 3000));
    }
    for (const auto& paned : paneds) {
        EXPECT_FALSE(paned.get());
    }
}

} // namespace
} // namespace ombrix::test
