#include "app/application.hpp"

#include "app/command_line.hpp"
#include "app/logging.hpp"
#include "config/storage.hpp"
#include "theme/catalogue.hpp"
#include "ui/gobject_ptr.hpp"
#include "ui/signal.hpp"
#include "ui/window/main_window.hpp"

#include <adwaita.h>
#include <memory>

namespace ombrix::app {

int run(int argc, char** argv) {
    install_logging();

    // AdwApplication initialises GTK and then libadwaita in its "startup" phase, on the main
    // thread, once, before any widget is built; a failure there ends the process.
    auto application = ui::adopt(
        ADW_APPLICATION(g_object_new(ADW_TYPE_APPLICATION, "application-id", OMBRIX_APP_ID, "flags",
                                     G_APPLICATION_HANDLES_COMMAND_LINE, nullptr)));

    auto config = std::make_shared<config::Config>(config::load_config());
    auto catalogue = std::make_shared<theme::ThemeCatalogue>(theme::ThemeCatalogue::load());

    ui::connect<void(GApplication*)>(
        application.get(), "activate", [config, catalogue](GApplication* app) {
            ui::MainWindow window = ui::build_main_window(ADW_APPLICATION(app), config, catalogue);
            gtk_window_present(GTK_WINDOW(window.window.get()));
        });
    ui::connect<int(GApplication*, GApplicationCommandLine*)>(
        application.get(), "command-line",
        [config](GApplication* app, GApplicationCommandLine* command_line) {
            return handle_command_line(app, command_line, config);
        });

    int status = g_application_run(G_APPLICATION(application.get()), argc, argv);
    application.reset();
    return status;
}

} // namespace ombrix::app
