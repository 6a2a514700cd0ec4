#pragma once

#include "config/config.hpp"
#include "terminal/shell_launch.hpp"
#include "terminal/terminal_pane.hpp"
#include "theme/catalogue.hpp"
#include "ui/gobject_ptr.hpp"
#include "ui/pane/pane_tree.hpp"

#include <adwaita.h>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

// A window's tabs: the list tying every page of the tab view to its pane tree, opening tabs and
// splits, and the look-ups the rest of the window needs.
namespace ombrix::ui {

struct TabEntry {
    GObjectPtr<AdwTabPage> page;
    PaneTreeRef tree;
};

// The window's tab list, kept in the tab view's page order: reordering in the tab bar and
// tabs dragged between windows are followed, so every tab of the view is in the list.
class TabManager : public std::enable_shared_from_this<TabManager> {
public:
    // Takes over the tab view's page bookkeeping ("page-attached", "page-detached",
    // "page-reordered"). The manager holds the view weakly: the view owns what the manager
    // refers to, never the other way round.
    static std::shared_ptr<TabManager> create(AdwTabView* tab_view, config::ConfigHandle config,
                                              theme::CatalogueHandle catalogue);
    // The manager of the window that shows this tab view, if it still exists.
    static std::shared_ptr<TabManager> of(AdwTabView* tab_view);

    TabManager(const TabManager&) = delete;
    TabManager& operator=(const TabManager&) = delete;

    GObjectPtr<AdwTabView> tab_view() const { return tab_view_.get(); }
    const config::ConfigHandle& config() const { return config_; }
    const theme::CatalogueHandle& catalogue() const { return catalogue_; }

    // Opens a tab with a new terminal and selects it.
    void new_tab(const std::optional<std::string>& shell_override);
    // Closes the selected tab through the close question.
    void close_tab();
    void next_tab();
    void prev_tab();

    // Split the focused pane of the selected tab: the new pane goes below
    // (GTK_ORIENTATION_VERTICAL) or to the right (GTK_ORIENTATION_HORIZONTAL).
    void split(GtkOrientation orientation);
    void split_horizontal() { split(GTK_ORIENTATION_VERTICAL); }
    void split_vertical() { split(GTK_ORIENTATION_HORIZONTAL); }
    // Closes the focused pane, or the whole tab when it is the tab's only pane.
    void close_pane();
    void focus_next_pane();
    void focus_prev_pane();

    // The focused pane of the selected tab.
    terminal::PaneRef focused_pane() const;
    // Every pane of the window: tabs in order, each tab's panes in tree order.
    std::vector<terminal::PaneRef> all_panes() const;
    // The selection dot on the selected tab only.
    void update_tab_indicators();

    const std::vector<TabEntry>& tabs() const { return tabs_; }
    // The entry of a page, or null.
    const TabEntry* find(AdwTabPage* page) const;

    // Called after tab and split operations so the sessions list can follow; set by the
    // window once its sidebar exists.
    void set_sessions_changed_handler(std::function<void()> handler);
    void notify_sessions_changed() const;

private:
    TabManager(AdwTabView* tab_view, config::ConfigHandle config, theme::CatalogueHandle catalogue);
    void connect_tab_view();
    void on_page_attached(AdwTabPage* page, int position);
    void on_page_detached(AdwTabPage* page);
    void on_page_reordered(AdwTabPage* page, int position);
    // Puts an entry at the page's position in the view (clamped to the list).
    void insert_entry(AdwTabPage* page, const PaneTreeRef& tree, int position);
    // The pane tree of the selected tab, or null.
    PaneTreeRef selected_tree() const;
    // What a pane's shell exit does: remove the pane, or close its tab if it was the last.
    terminal::ChildExitedHandler exit_handler(AdwTabPage* page, const terminal::PaneRef& pane);
    void track_tab_title(AdwTabPage* page, const terminal::PaneRef& pane);

    GWeakPtr<AdwTabView> tab_view_;
    config::ConfigHandle config_;
    theme::CatalogueHandle catalogue_;
    std::vector<TabEntry> tabs_;
    std::function<void()> sessions_changed_;
};

} // namespace ombrix::ui
