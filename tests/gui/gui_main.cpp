#include "gui_fixture.hpp"

#include <gtest/gtest.h>

int main(int argc, char** argv) {
    testing::InitGoogleTest(&argc, argv);
    gtk_init();
    adw_init();
    ombrix::test::application();
    return RUN_ALL_TESTS();
}
