// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/StartUp.h"

int main(int argc, char** argv) {
    return trx::RunTresorix(argc, argv);
}
