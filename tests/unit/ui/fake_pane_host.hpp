#pragma once

#include "ui/pane/pane_layout.hpp"

#include <algorithm>
#include <cstdint>
#include <map>
#include <memory>
#include <string>
#include <utility>
#include <vector>

// A widget world without a toolkit for the pane layout: named leaf widgets, paneds with a
// start and an end slot, the content box and free-standing boxes. It keeps parent links like
// the toolkit does, refuses what the toolkit would refuse (placing a widget that still has a
// parent, using a paned after its owner dropped it) and records every operation.
namespace ombrix::test {

enum class Orient { horizontal = 0, vertical = 1 };

struct FakePane {
    std::uint64_t id = 0;
    std::string widget;
    bool focused = false;
};
using FakeLeaf = std::shared_ptr<FakePane>;

class FakeWorld {
public:
    struct Node {
        std::string parent; // "" none, "content", a paned or a box name
        bool is_paned = false;
        Orient orientation = Orient::horizontal;
        std::string start, end;
        bool dropped = false;   // the owner's handle is gone
        bool finalized = false; // dropped and unparented: the toolkit would have freed it
    };

    std::map<std::string, Node> nodes;
    std::vector<std::string> content;
    std::map<std::string, std::vector<std::string>> boxes;
    std::vector<std::string> ops;
    std::vector<std::string> faults;
    std::string keyboard_focus;
    int paned_counter = 0;

    void add_leaf_widget(const std::string& name) { nodes[name]; }

    void place_in_box(const std::string& box, const std::string& widget) {
        boxes[box].push_back(widget);
        nodes[widget].parent = box;
    }

    std::string parent_of(const std::string& widget) const {
        auto it = nodes.find(widget);
        return it == nodes.end() ? std::string() : it->second.parent;
    }

    void log(std::string op) { ops.push_back(std::move(op)); }
    void fault(std::string what) { faults.push_back(std::move(what)); }

    // "V(top,H(a,b))" for the content; "|" between several content children.
    std::string describe() const {
        std::string out;
        for (std::size_t i = 0; i < content.size(); ++i) {
            if (i > 0) {
                out += "|";
            }
            out += describe_widget(content[i], "content");
        }
        return out;
    }

    // A widget the toolkit would free now: a paned whose handle is gone and which has no
    // parent. Its children are let go, as the toolkit's dispose does.
    void maybe_finalize(const std::string& name) {
        Node& node = nodes[name];
        if (!node.is_paned || !node.dropped || !node.parent.empty() || node.finalized) {
            return;
        }
        node.finalized = true;
        log("finalize " + name +
            (node.start.empty() && node.end.empty() ? "" : " (with children)"));
        for (std::string* slot : {&node.start, &node.end}) {
            if (!slot->empty()) {
                nodes[*slot].parent.clear();
                maybe_finalize(*slot);
                slot->clear();
            }
        }
    }

    void set_slot(const std::string& paned, bool start, const std::string& child) {
        Node& p = nodes[paned];
        const char* side = start ? "start" : "end";
        log(paned + "." + side + " = " + (child.empty() ? "-" : child));
        if (p.finalized) {
            fault("use of freed " + paned);
            return;
        }
        std::string& slot = start ? p.start : p.end;
        if (!child.empty() && slot != child && !nodes[child].parent.empty()) {
            fault("set " + paned + "." + side + " to " + child + " while it is in " +
                  nodes[child].parent);
            return;
        }
        if (slot == child) {
            return;
        }
        const std::string old = slot;
        slot = child;
        if (!old.empty()) {
            nodes[old].parent.clear();
            maybe_finalize(old);
        }
        if (!child.empty()) {
            nodes[child].parent = paned;
        }
    }

private:
    std::string describe_widget(const std::string& name, const std::string& expected_parent) const {
        auto it = nodes.find(name);
        if (it == nodes.end()) {
            return "?" + name;
        }
        const Node& node = it->second;
        std::string out;
        if (node.parent != expected_parent) {
            out += "!"; // the parent link disagrees with where the widget is shown
        }
        if (node.finalized) {
            out += "#";
        }
        if (!node.is_paned) {
            return out + name;
        }
        out += node.orientation == Orient::vertical ? "V(" : "H(";
        out += node.start.empty() ? "-" : describe_widget(node.start, name);
        out += ",";
        out += node.end.empty() ? "-" : describe_widget(node.end, name);
        return out + ")";
    }
};

// The owning handle of one fake paned; dropping it tells the world.
class FakePaned {
public:
    FakePaned() = default;
    FakePaned(FakeWorld* world, std::string name) : world_(world), name_(std::move(name)) {}
    FakePaned(FakePaned&& other) noexcept
        : world_(std::exchange(other.world_, nullptr)), name_(std::move(other.name_)) {}
    FakePaned& operator=(FakePaned&& other) noexcept {
        if (this != &other) {
            release();
            world_ = std::exchange(other.world_, nullptr);
            name_ = std::move(other.name_);
        }
        return *this;
    }
    FakePaned(const FakePaned&) = delete;
    FakePaned& operator=(const FakePaned&) = delete;
    ~FakePaned() { release(); }

    const std::string& name() const { return name_; }

private:
    void release() {
        if (world_ == nullptr) {
            return;
        }
        FakeWorld::Node& node = world_->nodes[name_];
        node.dropped = true;
        world_->log("drop " + name_ +
                    (node.start.empty() && node.end.empty() ? " (empty)" : " (holding children)"));
        world_->maybe_finalize(name_);
        world_ = nullptr;
    }

    FakeWorld* world_ = nullptr;
    std::string name_;
};

class FakeHost {
public:
    using Widget = std::string;
    using Paned = FakePaned;
    using Orientation = Orient;

    explicit FakeHost(FakeWorld& world) : world_(world) {}

    static std::uint64_t leaf_id(const FakeLeaf& leaf) { return leaf->id; }
    static std::string leaf_widget(const FakeLeaf& leaf) { return leaf->widget; }
    static std::string paned_widget(const FakePaned& paned) { return paned.name(); }

    FakePaned make_paned(Orient orientation) {
        const std::string name = "P" + std::to_string(++world_.paned_counter);
        FakeWorld::Node& node = world_.nodes[name];
        node.is_paned = true;
        node.orientation = orientation;
        world_.log("new " + name + (orientation == Orient::vertical ? " V" : " H"));
        return FakePaned(&world_, name);
    }

    void detach(const std::string& widget) {
        const std::string parent = world_.parent_of(widget);
        if (parent.empty()) {
            return;
        }
        world_.log("detach " + widget + " from " + parent);
        if (parent == "content") {
            erase(world_.content, widget);
        } else if (world_.boxes.count(parent) != 0) {
            erase(world_.boxes[parent], widget);
        } else {
            FakeWorld::Node& p = world_.nodes[parent];
            if (p.start == widget) {
                p.start.clear();
            } else if (p.end == widget) {
                p.end.clear();
            }
        }
        world_.nodes[widget].parent.clear();
    }

    void set_start_child(const FakePaned& paned, const std::string& child) {
        world_.set_slot(paned.name(), true, child);
    }
    void set_end_child(const FakePaned& paned, const std::string& child) {
        world_.set_slot(paned.name(), false, child);
    }

    void clear_content() {
        world_.log("content clear");
        for (const std::string& child : world_.content) {
            world_.nodes[child].parent.clear();
            world_.maybe_finalize(child);
        }
        world_.content.clear();
    }
    void remove_first_content() {
        world_.log("content remove first");
        if (world_.content.empty()) {
            return;
        }
        const std::string child = world_.content.front();
        world_.content.erase(world_.content.begin());
        world_.nodes[child].parent.clear();
        world_.maybe_finalize(child);
    }
    void append_content(const std::string& widget) {
        world_.log("content append " + widget);
        FakeWorld::Node& node = world_.nodes[widget];
        if (node.finalized) {
            world_.fault("append of freed " + widget);
            return;
        }
        if (!node.parent.empty()) {
            world_.fault("append " + widget + " while it is in " + node.parent);
            return;
        }
        node.parent = "content";
        world_.content.push_back(widget);
    }

    void set_marked(const FakeLeaf& leaf, bool marked) {
        leaf->focused = marked;
        world_.log((marked ? "mark " : "unmark ") + leaf->widget);
    }
    void grab_focus(const FakeLeaf& leaf) {
        world_.keyboard_focus = leaf->widget;
        world_.log("grab " + leaf->widget);
    }

private:
    static void erase(std::vector<std::string>& list, const std::string& widget) {
        list.erase(std::remove(list.begin(), list.end(), widget), list.end());
    }

    FakeWorld& world_;
};

using FakeLayout = ui::PaneLayout<FakeLeaf, FakeHost>;

} // namespace ombrix::test
