#pragma once
// The client code: the unsigned 32-bit identifier sent with every server
// request. It is stable for the machine and derived from its machine id, so
// the server can tell clients apart without learning anything about them.
#include <cstdint>
#include <filesystem>
#include <string_view>
#include <vector>

// Where the machine id is looked for, in order.
const std::vector<std::filesystem::path>& MachineIdFiles();

// The code for a machine id text: a 32-bit FNV-1a hash of the id without
// white space at either end.
uint32_t ClientCodeFor(std::string_view machineId);

// The code of this machine: from the first of `idFiles` that holds an id,
// else from the host name, so a machine without a machine id still sends
// the same code every time. Start-up reads it once.
uint32_t ClientCode(const std::vector<std::filesystem::path>& idFiles = MachineIdFiles());
