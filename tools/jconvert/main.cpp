#include "cli.h"

int main(int argc, char** argv) { return jconvert_cli::run(argc, argv); }
