#pragma once

namespace huevane::cli {

struct Arguments;

// What a command line of each command must hold beyond each option's form; each raises a usage
// error for what it lacks.
void CheckGetRules(const Arguments& args);
void CheckSetRules(const Arguments& args);
void CheckRestoreRules(const Arguments& args);

}  // namespace huevane::cli
