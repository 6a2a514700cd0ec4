// The question before closing a tab whose shells still run a program.
#include "ui/adw_compat.hpp"
#include "window_fixture.hpp"

namespace ombrix::test {
namespace {

// The close question currently shown, if any.
GtkWidget* open_question() {
    GListModel* toplevels = gtk_window_get_toplevels();
    for (guint i = 0; i < g_list_model_get_n_items(toplevels); ++i) {
        auto* window = static_cast<GtkWidget*>(g_list_model_get_item(toplevels, i));
        g_object_unref(window);
        if (ADW_IS_MESSAGE_DIALOG(window) && gtk_widget_get_visible(window)) {
            return window;
        }
    }
    return nullptr;
}

// Waits for the close question to appear; null if it does not.
GtkWidget* wait_for_question() {
    GtkWidget* question = nullptr;
    pump_until([&] { return (question = open_question()) != nullptr; });
    return question;
}

using CloseQuestionTest = WindowTest;

TEST_F(CloseQuestionTest, IdleShellClosesAtOnce) {
    open_window();
    tabs().close_tab();
    pump_for(100);
    EXPECT_EQ(open_question(), nullptr);
    EXPECT_EQ(page_count(), 0);
}

TEST_F(CloseQuestionTest, AsksWhenAnyPaneRunsAProgramAndCancelKeepsEverything) {
    open_window();
    auto first = focused();
    tabs().split_vertical();
    ASSERT_TRUE(wait_for_shells());
    auto second = focused();
    type(second, "sleep 100\n");
    ASSERT_TRUE(wait_for_child_program(second));

    tabs().close_tab();
    GtkWidget* question = wait_for_question();
    ASSERT_NE(question, nullptr);
    auto* dialog = ADW_MESSAGE_DIALOG(question);
    EXPECT_STREQ(adw_message_dialog_get_heading(dialog), "Close Terminal?");
    EXPECT_STREQ(adw_message_dialog_get_body(dialog),
                 "A process is still running. Closing this tab will terminate it.");
    EXPECT_TRUE(adw_message_dialog_has_response(dialog, "cancel"));
    EXPECT_STREQ(adw_message_dialog_get_response_label(dialog, "cancel"), "Cancel");
    EXPECT_STREQ(adw_message_dialog_get_response_label(dialog, "close"), "Close");
    EXPECT_EQ(adw_message_dialog_get_response_appearance(dialog, "close"),
              ADW_RESPONSE_DESTRUCTIVE);
    EXPECT_STREQ(adw_message_dialog_get_default_response(dialog), "cancel");
    EXPECT_STREQ(adw_message_dialog_get_close_response(dialog), "cancel");
    EXPECT_EQ(gtk_window_get_transient_for(GTK_WINDOW(question)), window());

    ui::compat::respond_to_alert(question, "cancel");
    ASSERT_TRUE(pump_until([] { return open_question() == nullptr; }));
    EXPECT_EQ(page_count(), 1);
    EXPECT_TRUE(terminal::has_child_processes(second->child_pid)) << "the program still runs";
    EXPECT_EQ(selected_leaves(), (std::vector<terminal::PaneRef>{first, second}));

    // Asked again; this time "Close" ends the tab and its programs.
    pid_t shell = static_cast<pid_t>(second->child_pid);
    tabs().close_tab();
    question = wait_for_question();
    ASSERT_NE(question, nullptr);
    ui::compat::respond_to_alert(question, "close");
    ASSERT_TRUE(pump_until([&] { return page_count() == 0; }));
    EXPECT_TRUE(tabs().tabs().empty());
    first.reset();
    second.reset();
    EXPECT_TRUE(pump_until([&] { return all_ended({shell}); }))
        << "the closed tab's shell has ended";
}

TEST_F(CloseQuestionTest, EscapeOrDismissalCancelsAndPaneClosesAreNotGuarded) {
    open_window();
    auto first = focused();
    tabs().split_vertical();
    ASSERT_TRUE(wait_for_shells());
    auto second = focused();
    type(second, "sleep 100 &\n");
    ASSERT_TRUE(wait_for_child_program(second));

    tabs().close_pane(); // two panes: the focused one goes without a question
    pump_for(100);
    EXPECT_EQ(open_question(), nullptr);
    EXPECT_EQ(selected_leaves(), (std::vector<terminal::PaneRef>{first}));

    type(first, "sleep 100 &\n");
    ASSERT_TRUE(wait_for_child_program(first));
    tabs().close_pane(); // the last pane goes through the question
    GtkWidget* question = wait_for_question();
    ASSERT_NE(question, nullptr);
    // Dismissing the dialog answers with the close response, "cancel".
    gtk_window_close(GTK_WINDOW(question));
    ASSERT_TRUE(pump_until([] { return open_question() == nullptr; }));
    EXPECT_EQ(page_count(), 1);
}

TEST_F(CloseQuestionTest, ShellThatExitsByItselfClosesItsTabWithoutAQuestion) {
    open_window();
    type(focused(), "exit\n");
    ASSERT_TRUE(pump_until([&] { return page_count() == 0; }));
    EXPECT_EQ(open_question(), nullptr);
}

} // namespace
} // namespace ombrix::test
