// The CLI codes by name. Every command error that the shell or an object
// finds itself is raised with one of them (throwError), and its message is
// the catalog's text of the code.
#pragma once

enum CliCode : int {
#define CLI_CODE(number, name, text) name = number,
#include "base/cli_codes.def"
#undef CLI_CODE
};
