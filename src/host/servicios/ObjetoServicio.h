#pragma once

namespace orvinda {

// Base of the shell's service classes, so that the class table can hand any
// of them out by name and the caller can ask for the interface it expects.
class ObjetoServicio
{
public:
    virtual ~ObjetoServicio();
};

} // namespace orvinda
