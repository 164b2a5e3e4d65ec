#include "app/StartUp.h"

int main(int argc, char** argv) {
    return trx::RunTresorix(argc, argv);
}
