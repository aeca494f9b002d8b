// Test support: gives pseudo-terminals the output behaviour of a real line.
// On a real line the port's write waits (tcdrain) until the bytes are on the
// wire, so a later flush of the output finds nothing; on a pseudo-terminal
// the written bytes wait in the far end's queue and the flush of closing the
// port throws them away. While linked in, a flush of a pseudo-terminal keeps
// its output (bytes already written count as sent) and still empties its input.
#pragma once

namespace drmq::test {

// Call from a test that closes a port right after writing; it pulls the
// flush wrapper into the test program.
void UseLineDrain();

} // namespace drmq::test
