#pragma once

#include "terminal/terminal_pane.hpp"

#include <cstdint>
#include <gtk/gtk.h>
#include <memory>
#include <vector>

// A tab's tree of terminal panes: leaves are panes, inner nodes two-way splits shown by a
// GtkPaned. Tree order is depth first, a split's first child before its second.
namespace ombrix::ui {

class PaneTree {
public:
    // A tree of one leaf inside a new content box (vertical GtkBox, expanding); the pane is
    // marked focused and given the keyboard focus.
    static std::shared_ptr<PaneTree> create(const terminal::PaneRef& first_pane);

    PaneTree(const PaneTree&) = delete;
    PaneTree& operator=(const PaneTree&) = delete;
    ~PaneTree();

    // The tab page's child; its only child is the root node's widget.
    GtkWidget* content() const;
    std::uint64_t focused_id() const;

    // Replaces the focused leaf by a split (orientation) of the old pane (start) and the new
    // pane (end), then focuses the new pane. False if the focused pane was not found.
    bool insert_split(GtkOrientation orientation, const terminal::PaneRef& new_pane);

    struct Removal {
        bool removed = false;
        terminal::PaneRef focused; // the first remaining pane in tree order, if any
    };
    // Removes the pane with this id, collapsing its split; focuses the first remaining pane.
    Removal remove_pane(std::uint64_t id);

    // Moves the focus mark (flag and CSS class "ombrix-pane-focused") and keyboard focus.
    void focus_pane(const terminal::PaneRef& pane);
    // Cycle the focus in tree order (wrapping); nothing with fewer than two panes.
    void focus_next_pane();
    void focus_prev_pane();

    std::size_t pane_count() const;
    std::vector<terminal::PaneRef> leaves() const;
    // First pane in tree order with this id, or null.
    terminal::PaneRef find(std::uint64_t id) const;
    // The pane whose id is focused_id(), or null.
    terminal::PaneRef focused_pane() const;

    struct Impl;

private:
    explicit PaneTree(std::unique_ptr<Impl> impl);
    std::unique_ptr<Impl> impl_;
};

using PaneTreeRef = std::shared_ptr<PaneTree>;

} // namespace ombrix::ui
