#include "ui/tab_manager/close_confirmation.hpp"

#include "terminal/process.hpp"
#include "ui/adw_compat.hpp"
#include "ui/gobject_ptr.hpp"
#include "ui/tab_manager/tab_manager.hpp"

namespace ombrix::ui {
namespace {

bool runs_a_program(const TabEntry& entry) {
    for (const auto& pane : entry.tree->leaves()) {
        if (pane->child_pid != 0 && terminal::has_child_processes(pane->child_pid)) {
            return true;
        }
    }
    return false;
}

compat::AlertSpec close_question() {
    return compat::AlertSpec{
        .heading = "Close Terminal?",
        .body = "A process is still running. Closing this tab will terminate it.",
        .responses = {{"cancel", "Cancel", false}, {"close", "Close", true}},
        .default_response = "cancel",
        .close_response = "cancel",
    };
}

} // namespace

void confirm_close_page(AdwTabView* tab_view, AdwTabPage* page, const TabEntry* entry) {
    if (entry == nullptr || !runs_a_program(*entry)) {
        adw_tab_view_close_page_finish(tab_view, page, TRUE);
        return;
    }
    GtkRoot* root = gtk_widget_get_root(GTK_WIDGET(tab_view));
    GtkWindow* parent = GTK_IS_WINDOW(root) ? GTK_WINDOW(root) : nullptr;
    // The pending close lives in the answer's callback: both references are held until then.
    compat::present_alert(parent, close_question(),
                          [view = ref(tab_view), page = ref(page)](const std::string& response) {
                              adw_tab_view_close_page_finish(view.get(), page.get(),
                                                             response == "close");
                          });
}

} // namespace ombrix::ui
