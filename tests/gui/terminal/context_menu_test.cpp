// The right-click menu of every terminal: its widgets, opening at the pointer, its commands,
// and its clean-up together with the terminal.
#include "terminal_test_support.hpp"
#include "ui/pane/context_menu.hpp"

#include <gtest/gtest.h>
#include <memory>
#include <string>
#include <vector>

namespace ombrix::test {
namespace {

using terminal::PaneRef;

std::vector<GtkWidget*> children(GtkWidget* widget) {
    std::vector<GtkWidget*> result;
    for (GtkWidget* child = gtk_widget_get_first_child(widget); child != nullptr;
         child = gtk_widget_get_next_sibling(child)) {
        result.push_back(child);
    }
    return result;
}

// The secondary-button click gesture the menu put on the terminal, or null.
GtkGesture* secondary_click(GtkWidget* terminal) {
    GListModel* controllers = gtk_widget_observe_controllers(terminal);
    GtkGesture* found = nullptr;
    for (guint i = 0; i < g_list_model_get_n_items(controllers) && found == nullptr; ++i) {
        auto* controller = static_cast<GtkEventController*>(g_list_model_get_item(controllers, i));
        if (GTK_IS_GESTURE_CLICK(controller) &&
            gtk_gesture_single_get_button(GTK_GESTURE_SINGLE(controller)) == GDK_BUTTON_SECONDARY &&
            gtk_event_controller_get_propagation_phase(controller) == GTK_PHASE_CAPTURE) {
            found = GTK_GESTURE(controller);
        }
        g_object_unref(controller);
    }
    g_object_unref(controllers);
    return found;
}

class ContextMenuTest : public ::testing::Test {
protected:
    void SetUp() override {
        pane_ = terminal::create_terminal_pane(config::Config::defaults(), sample_theme(),
                                               std::nullopt, std::nullopt);
        window_ = std::make_unique<PaneWindow>(pane_);
        pump_until([&] { return gtk_widget_get_mapped(pane_->backend.widget()); }, 3000);
        popover_ = ui::context_menu_of(pane_->terminal());
        ASSERT_NE(popover_, nullptr);
        items_ = children(gtk_popover_get_child(popover_));
        ASSERT_EQ(items_.size(), 3u);
    }
    void TearDown() override {
        window_.reset();
        pane_.reset();
        pump_for(20);
    }

    void right_click(double x, double y) {
        GtkGesture* gesture = secondary_click(pane_->backend.widget());
        ASSERT_NE(gesture, nullptr);
        g_signal_emit_by_name(gesture, "pressed", 1, x, y);
        pump_for(50);
    }

    // Writes one line into the terminal and waits until it is shown.
    void feed_line(const std::string& line) {
        const std::string text = line + "\r\n";
        vte_terminal_feed(pane_->terminal(), text.data(), static_cast<gssize>(text.size()));
        ASSERT_TRUE(pump_until(
            [&] { return terminal_text(pane_->terminal()).find(line) != std::string::npos; },
            3000));
    }

    TempHome home_;
    PaneRef pane_;
    std::unique_ptr<PaneWindow> window_;
    GtkPopover* popover_ = nullptr;
    std::vector<GtkWidget*> items_;
};

TEST_F(ContextMenuTest, PopoverHoldsThreeItemsInOrder) {
    EXPECT_EQ(gtk_widget_get_parent(GTK_WIDGET(popover_)), pane_->backend.widget());
    EXPECT_FALSE(gtk_popover_get_has_arrow(popover_));
    EXPECT_TRUE(gtk_widget_has_css_class(GTK_WIDGET(popover_), "ombrix-context-menu"));
    EXPECT_FALSE(gtk_widget_get_visible(GTK_WIDGET(popover_)));
    GtkWidget* box = gtk_popover_get_child(popover_);
    ASSERT_TRUE(GTK_IS_BOX(box));
    EXPECT_EQ(gtk_orientable_get_orientation(GTK_ORIENTABLE(box)), GTK_ORIENTATION_VERTICAL);
    EXPECT_EQ(gtk_box_get_spacing(GTK_BOX(box)), 2);

    struct Expected {
        const char* icon;
        const char* label;
        const char* shortcut;
    };
    const Expected expected[] = {{"edit-copy-symbolic", "Copy", "Ctrl+Shift+C"},
                                 {"edit-paste-symbolic", "Paste", "Ctrl+Shift+V"},
                                 {"edit-select-all-symbolic", "Select All", "Ctrl+Shift+A"}};
    for (std::size_t i = 0; i < 3; ++i) {
        SCOPED_TRACE(expected[i].label);
        GtkWidget* item = items_[i];
        ASSERT_TRUE(GTK_IS_BUTTON(item));
        EXPECT_TRUE(gtk_widget_has_css_class(item, "flat"));
        EXPECT_TRUE(gtk_widget_has_css_class(item, "ombrix-context-item"));
        EXPECT_FALSE(gtk_widget_get_can_focus(item));
        GtkWidget* row = gtk_button_get_child(GTK_BUTTON(item));
        ASSERT_TRUE(GTK_IS_BOX(row));
        EXPECT_EQ(gtk_orientable_get_orientation(GTK_ORIENTABLE(row)), GTK_ORIENTATION_HORIZONTAL);
        EXPECT_EQ(gtk_box_get_spacing(GTK_BOX(row)), 8);
        auto parts = children(row);
        ASSERT_EQ(parts.size(), 3u);
        ASSERT_TRUE(GTK_IS_IMAGE(parts[0]));
        EXPECT_STREQ(gtk_image_get_icon_name(GTK_IMAGE(parts[0])), expected[i].icon);
        EXPECT_EQ(gtk_image_get_pixel_size(GTK_IMAGE(parts[0])), 14);
        ASSERT_TRUE(GTK_IS_LABEL(parts[1]));
        EXPECT_STREQ(gtk_label_get_text(GTK_LABEL(parts[1])), expected[i].label);
        EXPECT_EQ(gtk_widget_get_halign(parts[1]), GTK_ALIGN_START);
        EXPECT_TRUE(gtk_widget_get_hexpand(parts[1]));
        ASSERT_TRUE(GTK_IS_LABEL(parts[2]));
        EXPECT_STREQ(gtk_label_get_text(GTK_LABEL(parts[2])), expected[i].shortcut);
        EXPECT_EQ(gtk_widget_get_halign(parts[2]), GTK_ALIGN_END);
        EXPECT_TRUE(gtk_widget_has_css_class(parts[2], "ombrix-context-shortcut"));
    }
}

TEST_F(ContextMenuTest, OpensAtThePointerWithCopyOnlyForASelection) {
    feed_line("some text to select");
    right_click(40.9, 17.2);
    EXPECT_TRUE(gtk_widget_get_visible(GTK_WIDGET(popover_)));
    GdkRectangle target{};
    ASSERT_TRUE(gtk_popover_get_pointing_to(popover_, &target));
    EXPECT_EQ(target.x, 40);
    EXPECT_EQ(target.y, 17);
    EXPECT_EQ(target.width, 1);
    EXPECT_EQ(target.height, 1);
    EXPECT_FALSE(gtk_widget_get_sensitive(items_[0]));
    EXPECT_TRUE(gtk_widget_get_sensitive(items_[1]));
    EXPECT_TRUE(gtk_widget_get_sensitive(items_[2]));

    // Select All closes the menu and selects; the next opening offers Copy, at the new place.
    g_signal_emit_by_name(items_[2], "clicked");
    pump_for(50);
    EXPECT_FALSE(gtk_widget_get_visible(GTK_WIDGET(popover_)));
    EXPECT_TRUE(vte_terminal_get_has_selection(pane_->terminal()));
    right_click(5.0, 6.0);
    EXPECT_TRUE(gtk_widget_get_visible(GTK_WIDGET(popover_)));
    EXPECT_TRUE(gtk_widget_get_sensitive(items_[0]));
    ASSERT_TRUE(gtk_popover_get_pointing_to(popover_, &target));
    EXPECT_EQ(target.x, 5);
    EXPECT_EQ(target.y, 6);
}

TEST_F(ContextMenuTest, CopyPutsTheSelectionOnTheClipboard) {
    feed_line("clipboard words");
    vte_terminal_select_all(pane_->terminal());
    right_click(10, 10);
    g_signal_emit_by_name(items_[0], "clicked");
    EXPECT_FALSE(gtk_widget_get_visible(GTK_WIDGET(popover_)));

    GdkClipboard* clipboard = gtk_widget_get_clipboard(pane_->backend.widget());
    struct Read {
        bool done = false;
        std::string text;
    } read;
    gdk_clipboard_read_text_async(
        clipboard, nullptr,
        [](GObject* source, GAsyncResult* result, gpointer data) {
            auto* r = static_cast<Read*>(data);
            char* text = gdk_clipboard_read_text_finish(GDK_CLIPBOARD(source), result, nullptr);
            r->text = text ? text : "";
            g_free(text);
            r->done = true;
        },
        &read);
    ASSERT_TRUE(pump_until([&] { return read.done; }, 5000));
    EXPECT_NE(read.text.find("clipboard words"), std::string::npos) << read.text;
}

TEST_F(ContextMenuTest, MenuGoesAwayWithItsTerminal) {
    FinalizeWatch popover_watch(popover_);
    FinalizeWatch terminal_watch(pane_->terminal());
    right_click(3, 3);
    window_.reset();
    pane_.reset();
    EXPECT_TRUE(terminal_watch.finalized());
    pump_until([&] { return popover_watch.finalized(); }, 3000);
    EXPECT_TRUE(popover_watch.finalized());
}

} // namespace
} // namespace ombrix::test
