#pragma once

#include "theme/theme.hpp"
#include "ui/gobject_ptr.hpp"

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <vte/vte.h>

namespace ombrix::terminal {

// The operations the rest of the window performs on a terminal, in a fixed order. The search
// bar holds its target through this interface.
class TerminalBackend {
public:
    virtual ~TerminalBackend() = default;
    virtual GtkWidget* widget() const = 0;
    virtual void apply_theme(const theme::Theme& theme) = 0;
    virtual void set_font(const std::string& family, double size_points) = 0;
    virtual void set_cursor(std::string_view shape, std::string_view blink) = 0;
    virtual void set_scrollback_lines(std::int64_t lines) = 0;
    virtual void set_audible_bell(bool enabled) = 0;
    virtual void copy() = 0;
    virtual void paste() = 0;
    virtual void select_all() = 0;
    virtual bool search(const std::string& text, bool match_case, bool regex) = 0;
    virtual bool search_next() = 0;
    virtual bool search_previous() = 0;
    virtual void clear_search() = 0;
    virtual void zoom_in() = 0;
    virtual void zoom_out() = 0;
    virtual void zoom_reset() = 0;
    virtual double font_scale() const = 0;
    virtual std::optional<std::string> window_title() const = 0;
    virtual std::optional<std::string> current_directory() const = 0;
};

// The terminal view over one VteTerminal. Copies share the widget and the two cells.
class VteBackend final : public TerminalBackend {
public:
    // Takes a reference to the terminal; opacity is the configured background opacity.
    VteBackend(VteTerminal* terminal, double opacity);

    GtkWidget* widget() const override;
    VteTerminal* terminal() const { return terminal_.get(); }
    void apply_theme(const theme::Theme& theme) override;
    void set_font(const std::string& family, double size_points) override;
    void set_cursor(std::string_view shape, std::string_view blink) override;
    void set_scrollback_lines(std::int64_t lines) override;
    void set_audible_bell(bool enabled) override;
    void copy() override;
    void paste() override;
    void select_all() override;
    bool search(const std::string& text, bool match_case, bool regex) override;
    bool search_next() override;
    bool search_previous() override;
    void clear_search() override;
    void zoom_in() override;
    void zoom_out() override;
    void zoom_reset() override;
    double font_scale() const override { return *font_scale_; }
    std::optional<std::string> window_title() const override;
    std::optional<std::string> current_directory() const override;

    double opacity() const { return *opacity_; }
    void set_opacity(double opacity) { *opacity_ = opacity; }

private:
    void set_font_scale(double factor);

    ui::GObjectPtr<VteTerminal> terminal_;
    std::shared_ptr<double> font_scale_;
    std::shared_ptr<double> opacity_;
};

} // namespace ombrix::terminal
