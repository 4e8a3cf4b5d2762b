// SPDX-License-Identifier: GPL-3.0-or-later
// Writes the bash completion of quorvin-ftp, made from its command table, to the file named
// by its one argument.

#include "BashCompletion.h"

#include <fstream>
#include <iostream>

int main(int argc, char** argv) {
    if (argc != 2) {
        std::cerr << "usage: " << argv[0] << " OUTPUT\n";
        return 2;
    }
    std::ofstream out(argv[1], std::ios::binary | std::ios::trunc);
    out << qx::cli::BashCompletion();
    out.close();
    if (!out) {
        std::cerr << argv[0] << ": cannot write " << argv[1] << '\n';
        return 1;
    }
    return 0;
}
