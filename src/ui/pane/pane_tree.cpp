#include "ui/pane/pane_tree.hpp"

#include "ui/gobject_ptr.hpp"
#include "ui/pane/pane_layout.hpp"

namespace ombrix::ui {

namespace {

constexpr const char* focused_class = "ombrix-pane-focused";

// The widget side of the pane tree. Containers are owned by their panes and paneds by their
// split nodes, so a widget taken out of its parent survives until it is placed again.
class GtkPaneHost {
public:
    using Widget = GtkWidget*;
    using Paned = GObjectPtr<GtkWidget>;
    using Orientation = GtkOrientation;

    explicit GtkPaneHost(GObjectPtr<GtkWidget> content) : content_(std::move(content)) {}

    GtkWidget* content() const { return content_.get(); }

    static std::uint64_t leaf_id(const terminal::PaneRef& pane) { return pane->id; }
    static GtkWidget* leaf_widget(const terminal::PaneRef& pane) { return pane->container.get(); }
    static GtkWidget* paned_widget(const Paned& paned) { return paned.get(); }

    static Paned make_paned(GtkOrientation orientation) {
        Paned paned = ref_sink(gtk_paned_new(orientation));
        gtk_widget_set_hexpand(paned.get(), TRUE);
        gtk_widget_set_vexpand(paned.get(), TRUE);
        gtk_paned_set_resize_start_child(GTK_PANED(paned.get()), TRUE);
        gtk_paned_set_resize_end_child(GTK_PANED(paned.get()), TRUE);
        gtk_paned_set_shrink_start_child(GTK_PANED(paned.get()), TRUE);
        gtk_paned_set_shrink_end_child(GTK_PANED(paned.get()), TRUE);
        return paned;
    }

    // Panes only ever live in a paned or a box (the content); each is left through its own
    // API so the parent does not keep a pointer to a child it no longer has.
    static void detach(GtkWidget* widget) {
        GtkWidget* parent = gtk_widget_get_parent(widget);
        if (parent == nullptr) {
            return;
        }
        if (GTK_IS_PANED(parent)) {
            GtkPaned* paned = GTK_PANED(parent);
            if (gtk_paned_get_start_child(paned) == widget) {
                gtk_paned_set_start_child(paned, nullptr);
            } else if (gtk_paned_get_end_child(paned) == widget) {
                gtk_paned_set_end_child(paned, nullptr);
            }
        } else if (GTK_IS_BOX(parent)) {
            gtk_box_remove(GTK_BOX(parent), widget);
        }
    }

    static void set_start_child(const Paned& paned, GtkWidget* child) {
        if (gtk_paned_get_start_child(GTK_PANED(paned.get())) != child) {
            gtk_paned_set_start_child(GTK_PANED(paned.get()), child);
        }
    }
    static void set_end_child(const Paned& paned, GtkWidget* child) {
        if (gtk_paned_get_end_child(GTK_PANED(paned.get())) != child) {
            gtk_paned_set_end_child(GTK_PANED(paned.get()), child);
        }
    }

    void clear_content() {
        while (GtkWidget* child = gtk_widget_get_first_child(content_.get())) {
            gtk_box_remove(GTK_BOX(content_.get()), child);
        }
    }
    void remove_first_content() {
        if (GtkWidget* child = gtk_widget_get_first_child(content_.get())) {
            gtk_box_remove(GTK_BOX(content_.get()), child);
        }
    }
    void append_content(GtkWidget* widget) {
        gtk_widget_set_hexpand(widget, TRUE);
        gtk_widget_set_vexpand(widget, TRUE);
        gtk_widget_set_halign(widget, GTK_ALIGN_FILL);
        gtk_widget_set_valign(widget, GTK_ALIGN_FILL);
        gtk_box_append(GTK_BOX(content_.get()), widget);
    }

    static void set_marked(const terminal::PaneRef& pane, bool marked) {
        pane->focused = marked;
        if (marked) {
            gtk_widget_add_css_class(pane->container.get(), focused_class);
        } else {
            gtk_widget_remove_css_class(pane->container.get(), focused_class);
        }
    }
    static void grab_focus(const terminal::PaneRef& pane) {
        gtk_widget_grab_focus(pane->backend.widget());
    }

    // Takes the window's focus off a terminal of this tab before widgets are moved between
    // parents. Left on a widget being moved, the toolkit loses track of it inside the paneds
    // and complains; the pane focused afterwards grabs it again.
    void release_focus() {
        GtkRoot* root = gtk_widget_get_root(content_.get());
        if (root == nullptr) {
            return;
        }
        GtkWidget* focus = gtk_root_get_focus(root);
        if (focus != nullptr && gtk_widget_is_ancestor(focus, content_.get())) {
            gtk_root_set_focus(root, nullptr);
        }
    }

private:
    GObjectPtr<GtkWidget> content_;
};

GObjectPtr<GtkWidget> make_content() {
    auto content = ref_sink(gtk_box_new(GTK_ORIENTATION_VERTICAL, 0));
    gtk_widget_set_hexpand(content.get(), TRUE);
    gtk_widget_set_vexpand(content.get(), TRUE);
    gtk_widget_set_halign(content.get(), GTK_ALIGN_FILL);
    gtk_widget_set_valign(content.get(), GTK_ALIGN_FILL);
    return content;
}

} // namespace

struct PaneTree::Impl {
    explicit Impl(GObjectPtr<GtkWidget> content) : host(std::move(content)), layout(host) {}
    GtkPaneHost host;
    PaneLayout<terminal::PaneRef, GtkPaneHost> layout;
};

PaneTree::PaneTree(std::unique_ptr<Impl> impl) : impl_(std::move(impl)) {}
PaneTree::~PaneTree() = default;

std::shared_ptr<PaneTree> PaneTree::create(const terminal::PaneRef& first_pane) {
    auto tree = std::shared_ptr<PaneTree>(new PaneTree(std::make_unique<Impl>(make_content())));
    if (first_pane) {
        tree->impl_->layout.start(first_pane);
    }
    return tree;
}

GtkWidget* PaneTree::content() const {
    return impl_->host.content();
}

std::uint64_t PaneTree::focused_id() const {
    return impl_->layout.focused_id();
}

bool PaneTree::insert_split(GtkOrientation orientation, const terminal::PaneRef& new_pane) {
    if (!new_pane || !impl_->layout.focused()) {
        return false;
    }
    impl_->host.release_focus();
    return impl_->layout.insert_split(orientation, new_pane);
}

PaneTree::Removal PaneTree::remove_pane(std::uint64_t id) {
    if (!impl_->layout.find(id)) {
        return {};
    }
    impl_->host.release_focus();
    auto result = impl_->layout.remove(id);
    return {result.removed, result.focused.value_or(nullptr)};
}

void PaneTree::focus_pane(const terminal::PaneRef& pane) {
    if (pane) {
        impl_->layout.focus(pane);
    }
}

void PaneTree::focus_next_pane() {
    impl_->layout.focus_next();
}
void PaneTree::focus_prev_pane() {
    impl_->layout.focus_prev();
}

std::size_t PaneTree::pane_count() const {
    return impl_->layout.count();
}

std::vector<terminal::PaneRef> PaneTree::leaves() const {
    return impl_->layout.leaves();
}

terminal::PaneRef PaneTree::find(std::uint64_t id) const {
    return impl_->layout.find(id).value_or(nullptr);
}

terminal::PaneRef PaneTree::focused_pane() const {
    return impl_->layout.focused().value_or(nullptr);
}

} // namespace ombrix::ui
