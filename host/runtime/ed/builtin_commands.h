#pragma once

// Enters the host's own commands on the command stack.
void svRegisterBuiltinCommands();
