// The program's version, as the banner, "show ver" and the diagnostic
// report print it. A macro, so that it joins string literals.
#pragma once

#define KV_CLI_VERSION "2.00.09.012"
