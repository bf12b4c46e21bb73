#pragma once

#include "command.h"

#include <memory>
#include <vector>

// Every subcommand of tavir340-cli, in the order --help lists them.
std::vector<std::unique_ptr<Command>> allCommands();
