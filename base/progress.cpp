#include "base/progress.h"

#include <iostream>

#include "base/kv_exception.h"

void printProgress(const std::string& progress) {
    std::cout << progress << std::flush;
}

void printDone() {
    std::cout << "Done." << std::endl;
}

void throwFailedApiError() {
    std::cout << "Failed." << std::endl;
    throwApiError();
}
