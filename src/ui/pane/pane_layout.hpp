#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <optional>
#include <utility>
#include <variant>
#include <vector>

// The shape of a tab's pane tree without any toolkit: which leaf sits where, how a split is
// inserted or collapsed, tree order and the focus mark. Every widget operation goes through
// the Host, so the same rules drive real GtkPaneds and the recording host of the unit tests.
//
// Host requirements (h is a Host&):
//   typename Host::Widget       a cheap handle; Widget{} means "no widget"
//   typename Host::Paned        an owning handle of one split's paned (held by the split node)
//   typename Host::Orientation
//   h.leaf_id(leaf) -> std::uint64_t
//   h.leaf_widget(leaf) -> Widget, h.paned_widget(paned) -> Widget
//   h.make_paned(orientation) -> Paned      a new, empty, expanding paned
//   h.detach(widget)                        remove from its current parent, if it has one
//   h.set_start_child(paned, widget)        widget may be Widget{} (release the child)
//   h.set_end_child(paned, widget)
//   h.clear_content(), h.remove_first_content(), h.append_content(widget)
//   h.set_marked(leaf, bool)                the focus flag and its style class
//   h.grab_focus(leaf)                      keyboard focus to the leaf's terminal
namespace ombrix::ui {

template <class Leaf, class Host> class PaneLayout {
public:
    using Widget = typename Host::Widget;
    using Paned = typename Host::Paned;
    using Orientation = typename Host::Orientation;

    explicit PaneLayout(Host& host) : host_(host) {}
    PaneLayout(const PaneLayout&) = delete;
    PaneLayout& operator=(const PaneLayout&) = delete;

    // Makes the tree a single leaf shown in the content and focuses it.
    void start(const Leaf& first) {
        root_ = std::make_unique<Node>(first);
        host_.append_content(host_.leaf_widget(first));
        focus(first);
    }

    bool empty() const { return root_ == nullptr; }
    std::uint64_t focused_id() const { return focused_id_; }

    // Replaces the focused leaf by a split of (old leaf, new leaf) in this orientation and
    // focuses the new leaf. False, touching nothing, when the focused leaf is not in the tree.
    bool insert_split(Orientation orientation, const Leaf& new_leaf) {
        if (!root_ || !split_at(root_, orientation, new_leaf)) {
            return false;
        }
        host_.clear_content();
        host_.append_content(widget_of(*root_));
        focus(new_leaf);
        return true;
    }

    struct Removal {
        bool removed = false;
        std::optional<Leaf> focused;
    };

    // Removes the first leaf with this id. Its split collapses into the sibling, which takes
    // the split's place; the first leaf of what remains gets the focus.
    Removal remove(std::uint64_t id) {
        if (!root_ || !remove_at(root_, id)) {
            return {};
        }
        if (!root_) {
            // The removed leaf's widget must not stay in the content: it would keep the
            // terminal (and its shell's pseudo-terminal) alive with nothing showing it.
            host_.clear_content();
            return {true, std::nullopt};
        }
        host_.remove_first_content();
        host_.append_content(widget_of(*root_));
        Leaf first = *first_leaf(*root_);
        focus(first);
        return {true, first};
    }

    // Moves the focus mark to this leaf and gives it the keyboard focus.
    void focus(const Leaf& leaf) {
        const std::uint64_t id = host_.leaf_id(leaf);
        if (const Leaf* old = find_ptr(focused_id_); old != nullptr && host_.leaf_id(*old) != id) {
            host_.set_marked(*old, false);
        }
        focused_id_ = id;
        host_.set_marked(leaf, true);
        host_.grab_focus(leaf);
    }

    void focus_next() { cycle(+1); }
    void focus_prev() { cycle(-1); }

    std::size_t count() const { return root_ ? count_in(*root_) : 0; }

    std::vector<Leaf> leaves() const {
        std::vector<Leaf> out;
        if (root_) {
            collect(*root_, out);
        }
        return out;
    }

    // The first leaf in tree order with this id.
    std::optional<Leaf> find(std::uint64_t id) const {
        if (const Leaf* leaf = find_ptr(id)) {
            return *leaf;
        }
        return std::nullopt;
    }
    std::optional<Leaf> focused() const { return find(focused_id_); }

    // The root's widget, if any (the content's only child).
    Widget root_widget() const { return root_ ? widget_of(*root_) : Widget{}; }

private:
    struct Node;
    using NodePtr = std::unique_ptr<Node>;
    struct Split {
        Orientation orientation;
        Paned paned;
        NodePtr first;
        NodePtr second;
    };
    struct Node {
        explicit Node(Leaf leaf) : value(std::move(leaf)) {}
        explicit Node(Split split) : value(std::move(split)) {}
        std::variant<Leaf, Split> value;
    };

    Widget widget_of(const Node& node) const {
        if (const Leaf* leaf = std::get_if<Leaf>(&node.value)) {
            return host_.leaf_widget(*leaf);
        }
        return host_.paned_widget(std::get<Split>(node.value).paned);
    }

    bool split_at(NodePtr& node, Orientation orientation, const Leaf& new_leaf) {
        if (Leaf* leaf = std::get_if<Leaf>(&node->value)) {
            if (host_.leaf_id(*leaf) != focused_id_) {
                return false;
            }
            host_.detach(host_.leaf_widget(*leaf));
            host_.detach(host_.leaf_widget(new_leaf));
            Paned paned = host_.make_paned(orientation);
            host_.set_start_child(paned, host_.leaf_widget(*leaf));
            host_.set_end_child(paned, host_.leaf_widget(new_leaf));
            Split split{orientation, std::move(paned), std::make_unique<Node>(std::move(*leaf)),
                        std::make_unique<Node>(new_leaf)};
            node = std::make_unique<Node>(std::move(split));
            return true;
        }
        Split& split = std::get<Split>(node->value);
        if (split_at(split.first, orientation, new_leaf)) {
            const Widget child = widget_of(*split.first);
            host_.detach(child);
            host_.set_start_child(split.paned, child);
            return true;
        }
        if (split_at(split.second, orientation, new_leaf)) {
            const Widget child = widget_of(*split.second);
            host_.detach(child);
            host_.set_end_child(split.paned, child);
            return true;
        }
        return false;
    }

    // On return true, node holds the replacement: null when this subtree became empty.
    bool remove_at(NodePtr& node, std::uint64_t id) {
        if (const Leaf* leaf = std::get_if<Leaf>(&node->value)) {
            if (host_.leaf_id(*leaf) != id) {
                return false;
            }
            node.reset();
            return true;
        }
        Split& split = std::get<Split>(node->value);
        if (remove_at(split.first, id)) {
            if (!split.first) {
                collapse(node, std::move(split.second));
            } else {
                host_.set_start_child(split.paned, widget_of(*split.first));
            }
            return true;
        }
        if (remove_at(split.second, id)) {
            if (!split.second) {
                collapse(node, std::move(split.first));
            } else {
                host_.set_end_child(split.paned, widget_of(*split.second));
            }
            return true;
        }
        return false;
    }

    // The paned lets go of both children before it is dropped, so the survivor is free to be
    // placed where the paned was.
    void collapse(NodePtr& node, NodePtr survivor) {
        Split& split = std::get<Split>(node->value);
        host_.set_start_child(split.paned, Widget{});
        host_.set_end_child(split.paned, Widget{});
        node = std::move(survivor);
    }

    void cycle(int step) {
        const std::vector<Leaf> all = leaves();
        if (all.size() < 2) {
            return;
        }
        for (std::size_t i = 0; i < all.size(); ++i) {
            if (host_.leaf_id(all[i]) == focused_id_) {
                const std::size_t target =
                    step > 0 ? (i + 1) % all.size() : (i == 0 ? all.size() - 1 : i - 1);
                focus(all[target]);
                return;
            }
        }
    }

    const Leaf* find_ptr(std::uint64_t id) const { return root_ ? find_in(*root_, id) : nullptr; }

    const Leaf* find_in(const Node& node, std::uint64_t id) const {
        if (const Leaf* leaf = std::get_if<Leaf>(&node.value)) {
            return host_.leaf_id(*leaf) == id ? leaf : nullptr;
        }
        const Split& split = std::get<Split>(node.value);
        if (const Leaf* found = find_in(*split.first, id)) {
            return found;
        }
        return find_in(*split.second, id);
    }

    static const Leaf* first_leaf(const Node& node) {
        const Node* current = &node;
        while (const Split* split = std::get_if<Split>(&current->value)) {
            current = split->first.get();
        }
        return &std::get<Leaf>(current->value);
    }

    static std::size_t count_in(const Node& node) {
        if (const Split* split = std::get_if<Split>(&node.value)) {
            return count_in(*split->first) + count_in(*split->second);
        }
        return 1;
    }

    static void collect(const Node& node, std::vector<Leaf>& out) {
        if (const Split* split = std::get_if<Split>(&node.value)) {
            collect(*split->first, out);
            collect(*split->second, out);
        } else {
            out.push_back(std::get<Leaf>(node.value));
        }
    }

    Host& host_;
    NodePtr root_;
    std::uint64_t focused_id_ = 0;
};

} // namespace ombrix::ui
