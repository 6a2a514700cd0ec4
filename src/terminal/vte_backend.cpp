#include "terminal/vte_backend.hpp"

namespace ombrix::terminal {

VteBackend::VteBackend(VteTerminal* terminal, double opacity)
    : terminal_(ui::ref(terminal)), font_scale_(std::make_shared<double>(1.0)),
      opacity_(std::make_shared<double>(opacity)) {}

GtkWidget* VteBackend::widget() const { return GTK_WIDGET(terminal_.get()); }

} // namespace ombrix::terminal
