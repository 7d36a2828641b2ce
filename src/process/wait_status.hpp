// The two halves of the status word that waitpid stores.
#pragma once

namespace qvm::process
{

// Number of the signal that ended the child; 0 when it exited by itself.
constexpr int endingSignal(int status)
{
    return status & 0x7f;
}

// The child's exit status (meaningful when endingSignal is 0).
constexpr int exitStatus(int status)
{
    return (status >> 8) & 0xff;
}

} // namespace qvm::process
