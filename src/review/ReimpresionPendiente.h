#pragma once

namespace rm640 {

// Authorizations that committed but whose printing the log never heard the
// end of (the shell died in between), printed again, once each, one after
// another. Only this operator's on this machine: another shell of theirs
// may still be printing its own.
class ReimpresionPendiente
{
public:
    // Looks for them among the authorizations not looked at yet and starts
    // printing the first; how many it found. While some are still being
    // printed it looks for none.
    static int Reanudar();
};

} // namespace rm640
