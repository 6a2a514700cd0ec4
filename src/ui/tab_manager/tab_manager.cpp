#include "ui/tab_manager/tab_manager.hpp"

#include "terminal/shell_launch.hpp"
#include "ui/signal.hpp"
#include "ui/tab_manager/close_confirmation.hpp"
#include "ui/tab_manager/tab_icons.hpp"

#include <algorithm>

namespace ombrix::ui {
namespace {

// The pane tree travels with its page, so a tab dragged into another window's tab bar keeps
// its terminals: the receiving window finds the tree on the page.
constexpr const char* tree_key = "ombrix-pane-tree";
constexpr const char* manager_key = "ombrix-tab-manager";

void attach_tree(AdwTabPage* page, const PaneTreeRef& tree) {
    g_object_set_data_full(G_OBJECT(page), tree_key, new PaneTreeRef(tree),
                           [](gpointer data) { delete static_cast<PaneTreeRef*>(data); });
}

PaneTreeRef tree_of(AdwTabPage* page) {
    auto* stored = static_cast<PaneTreeRef*>(g_object_get_data(G_OBJECT(page), tree_key));
    return stored ? *stored : nullptr;
}

// The tab view currently showing a page, if any.
AdwTabView* tab_view_of(AdwTabPage* page) {
    GtkWidget* child = adw_tab_page_get_child(page);
    return child ? ADW_TAB_VIEW(gtk_widget_get_ancestor(child, ADW_TYPE_TAB_VIEW)) : nullptr;
}

} // namespace

TabManager::TabManager(AdwTabView* tab_view, config::ConfigHandle config,
                       theme::CatalogueHandle catalogue)
    : tab_view_(tab_view), config_(std::move(config)), catalogue_(std::move(catalogue)) {}

std::shared_ptr<TabManager> TabManager::create(AdwTabView* tab_view, config::ConfigHandle config,
                                               theme::CatalogueHandle catalogue) {
    std::shared_ptr<TabManager> manager(
        new TabManager(tab_view, std::move(config), std::move(catalogue)));
    g_object_set_data_full(
        G_OBJECT(tab_view), manager_key, new std::weak_ptr<TabManager>(manager),
        [](gpointer data) { delete static_cast<std::weak_ptr<TabManager>*>(data); });
    manager->connect_tab_view();
    return manager;
}

std::shared_ptr<TabManager> TabManager::of(AdwTabView* tab_view) {
    auto* stored =
        static_cast<std::weak_ptr<TabManager>*>(g_object_get_data(G_OBJECT(tab_view), manager_key));
    return stored ? stored->lock() : nullptr;
}

void TabManager::connect_tab_view() {
    auto view = tab_view();
    // The tab view owns these handlers; they hold the manager, which holds the view weakly.
    std::shared_ptr<TabManager> self = shared_from_this();
    connect<void(AdwTabView*, AdwTabPage*, int)>(
        view.get(), "page-attached", [self](AdwTabView*, AdwTabPage* page, int position) {
            self->on_page_attached(page, position);
        });
    connect<void(AdwTabView*, AdwTabPage*, int)>(
        view.get(), "page-detached",
        [self](AdwTabView*, AdwTabPage* page, int) { self->on_page_detached(page); });
    connect<void(AdwTabView*, AdwTabPage*, int)>(
        view.get(), "page-reordered", [self](AdwTabView*, AdwTabPage* page, int position) {
            self->on_page_reordered(page, position);
        });
    connect<gboolean(AdwTabView*, AdwTabPage*)>(
        view.get(), "close-page", [self](AdwTabView* tab_view, AdwTabPage* page) -> gboolean {
            confirm_close_page(tab_view, page, self->find(page));
            return TRUE;
        });
}

void TabManager::on_page_attached(AdwTabPage* page, int position) {
    // A page made by new_tab gets its entry there; one dragged in from another window brings
    // its tree along.
    PaneTreeRef tree = tree_of(page);
    if (!tree || find(page) != nullptr) {
        return;
    }
    insert_entry(page, tree, position);
    update_tab_indicators();
    notify_sessions_changed();
}

void TabManager::insert_entry(AdwTabPage* page, const PaneTreeRef& tree, int position) {
    auto index =
        std::min<std::size_t>(static_cast<std::size_t>(std::max(position, 0)), tabs_.size());
    tabs_.insert(tabs_.begin() + static_cast<std::ptrdiff_t>(index), TabEntry{ref(page), tree});
}

void TabManager::on_page_detached(AdwTabPage* page) {
    // Moved out before erasing, so the trees (and their terminals) are released only after
    // the list is consistent again.
    std::vector<TabEntry> removed;
    auto keep = std::stable_partition(tabs_.begin(), tabs_.end(),
                                      [page](const TabEntry& e) { return e.page.get() != page; });
    std::move(keep, tabs_.end(), std::back_inserter(removed));
    tabs_.erase(keep, tabs_.end());
}

void TabManager::on_page_reordered(AdwTabPage* page, int position) {
    auto it = std::find_if(tabs_.begin(), tabs_.end(),
                           [page](const TabEntry& e) { return e.page.get() == page; });
    if (it == tabs_.end()) {
        return;
    }
    TabEntry entry = std::move(*it);
    tabs_.erase(it);
    insert_entry(entry.page.get(), entry.tree, position);
}

const TabEntry* TabManager::find(AdwTabPage* page) const {
    auto it = std::find_if(tabs_.begin(), tabs_.end(),
                           [page](const TabEntry& e) { return e.page.get() == page; });
    return it == tabs_.end() ? nullptr : &*it;
}

void TabManager::new_tab(const std::optional<std::string>& shell_override) {
    auto view = tab_view();
    if (!view) {
        return;
    }
    theme::Theme theme = catalogue_->get(config_->appearance.theme);
    terminal::PaneRef pane =
        terminal::create_terminal_pane(*config_, theme, shell_override, std::nullopt);
    PaneTreeRef tree = PaneTree::create(pane);

    AdwTabPage* page = adw_tab_view_append(view.get(), tree->content());
    attach_tree(page, tree);
    if (auto icon = tab_icon()) {
        adw_tab_page_set_icon(page, G_ICON(icon.get()));
    }
    adw_tab_page_set_title(page, pane->title.c_str());
    // Keyboard focus can only be given once the terminal is inside the window.
    tree->focus_pane(pane);
    insert_entry(page, tree, adw_tab_view_get_page_position(view.get(), page));

    // The view selects its first page by itself while appending, before the page has a
    // title; announce the selection again so the window title gets the tab's title.
    bool already_selected = adw_tab_view_get_selected_page(view.get()) == page;
    adw_tab_view_set_selected_page(view.get(), page);
    if (already_selected) {
        g_object_notify(G_OBJECT(view.get()), "selected-page");
    }
    update_tab_indicators();

    terminal::launch_shell(pane, exit_handler(page, pane));
    track_tab_title(page, pane);
    notify_sessions_changed();
}

void TabManager::track_tab_title(AdwTabPage* page, const terminal::PaneRef& pane) {
    // Runs after the pane's own title handler, so pane->title is already up to date.
    gulong id = connect<void(VteTerminal*)>(
        pane->terminal(), "window-title-changed",
        [weak_page = GWeakPtr<AdwTabPage>(page),
         weak_pane = std::weak_ptr<terminal::TerminalPane>(pane)](VteTerminal*) {
            auto page = weak_page.get();
            auto pane = weak_pane.lock();
            if (page && pane) {
                adw_tab_page_set_title(page.get(), pane->title.c_str());
            }
        });
    pane->terminal_handlers.push_back(id);
}

terminal::ChildExitedHandler TabManager::exit_handler(AdwTabPage* page,
                                                      const terminal::PaneRef& pane) {
    // Weak references only: the handler lives on the terminal, which the page and the pane
    // own. The tab may have moved to another window since, so its manager is looked up now.
    return [weak_page = GWeakPtr<AdwTabPage>(page),
            weak_pane = std::weak_ptr<terminal::TerminalPane>(pane)]() {
        auto page = weak_page.get();
        auto pane = weak_pane.lock();
        if (!page || !pane) {
            return;
        }
        AdwTabView* view = tab_view_of(page.get());
        if (view == nullptr) {
            return;
        }
        auto manager = TabManager::of(view);
        const TabEntry* entry = manager ? manager->find(page.get()) : nullptr;
        if (entry == nullptr || entry->tree->pane_count() < 2) {
            adw_tab_view_close_page(view, page.get());
            return;
        }
        PaneTreeRef tree = entry->tree;
        tree->remove_pane(pane->id);
    };
}

void TabManager::close_tab() {
    auto view = tab_view();
    if (!view) {
        return;
    }
    if (AdwTabPage* page = adw_tab_view_get_selected_page(view.get())) {
        adw_tab_view_close_page(view.get(), page);
    }
}

void TabManager::next_tab() {
    if (auto view = tab_view()) {
        adw_tab_view_select_next_page(view.get());
    }
}

void TabManager::prev_tab() {
    if (auto view = tab_view()) {
        adw_tab_view_select_previous_page(view.get());
    }
}

void TabManager::split(GtkOrientation orientation) {
    auto view = tab_view();
    if (!view) {
        return;
    }
    theme::Theme theme = catalogue_->get(config_->appearance.theme);
    PaneTreeRef tree = selected_tree();
    terminal::PaneRef focused = tree ? tree->focused_pane() : nullptr;
    if (focused) {
        terminal::PaneRef pane =
            terminal::create_terminal_pane(*config_, theme, std::nullopt, focused->cwd);
        AdwTabPage* selected = adw_tab_view_get_selected_page(view.get());
        if (selected == nullptr) {
            return;
        }
        terminal::launch_shell(pane, exit_handler(selected, pane));
        // If the focused pane vanished meanwhile the new pane is dropped with its terminal.
        tree->insert_split(orientation, pane);
    }
    notify_sessions_changed();
}

void TabManager::close_pane() {
    auto view = tab_view();
    if (!view) {
        return;
    }
    AdwTabPage* page = adw_tab_view_get_selected_page(view.get());
    if (page == nullptr) {
        return;
    }
    const TabEntry* entry = find(page);
    if (entry == nullptr || entry->tree->pane_count() <= 1) {
        adw_tab_view_close_page(view.get(), page);
        return;
    }
    // The removal itself gives the focus to the first remaining pane.
    PaneTreeRef tree = entry->tree;
    if (terminal::PaneRef focused = tree->focused_pane()) {
        tree->remove_pane(focused->id);
    }
}

PaneTreeRef TabManager::selected_tree() const {
    auto view = tab_view();
    AdwTabPage* page = view ? adw_tab_view_get_selected_page(view.get()) : nullptr;
    const TabEntry* entry = page ? find(page) : nullptr;
    return entry ? entry->tree : nullptr;
}

void TabManager::focus_next_pane() {
    if (PaneTreeRef tree = selected_tree()) {
        tree->focus_next_pane();
    }
}

void TabManager::focus_prev_pane() {
    if (PaneTreeRef tree = selected_tree()) {
        tree->focus_prev_pane();
    }
}

terminal::PaneRef TabManager::focused_pane() const {
    PaneTreeRef tree = selected_tree();
    return tree ? tree->focused_pane() : nullptr;
}

std::vector<terminal::PaneRef> TabManager::all_panes() const {
    std::vector<terminal::PaneRef> panes;
    for (const auto& entry : tabs_) {
        auto leaves = entry.tree->leaves();
        panes.insert(panes.end(), leaves.begin(), leaves.end());
    }
    return panes;
}

void TabManager::update_tab_indicators() {
    auto view = tab_view();
    AdwTabPage* selected = view ? adw_tab_view_get_selected_page(view.get()) : nullptr;
    auto dot = selection_dot();
    for (const auto& entry : tabs_) {
        bool show = dot && selected != nullptr && entry.page.get() == selected;
        adw_tab_page_set_indicator_icon(entry.page.get(), show ? G_ICON(dot.get()) : nullptr);
    }
}

void TabManager::set_sessions_changed_handler(std::function<void()> handler) {
    sessions_changed_ = std::move(handler);
}

void TabManager::notify_sessions_changed() const {
    if (sessions_changed_) {
        sessions_changed_();
    }
}

} // namespace ombrix::ui
