// The Quorvel program: a few lines over the shell library.
#include "ui/app/main_frame.h"

int main(int argc, char* argv[]) {
    return quorvel::RunWorkshop(argc, argv);
}
