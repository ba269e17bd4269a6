#pragma once

namespace hostlore {

// The processor the calling thread runs on at this moment; -1 when unknown.
int CurrentProcessor();

// Keeps the calling thread off `processor` for the rest of its life, when it
// may run on another one; otherwise leaves it as it is.
void KeepOffProcessor(int processor);

}  // namespace hostlore
