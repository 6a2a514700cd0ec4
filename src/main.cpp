#include "app/application.hpp"

int main(int argc, char** argv) {
    return ombrix::app::run(argc, argv);
}
