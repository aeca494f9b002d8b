// Test support: gives pseudo-terminals the transmit time of a real line.
// Bytes written to a pseudo-terminal wait in the far end's queue, and a flush
// of the program's side (as closing the port does) throws them away; on a
// real line tcdrain has already put them on the wire. While linked in, a
// flush of a pseudo-terminal lets the far end take its bytes first. Any thread.
#pragma once

namespace drmq::test {

// Call once from a test that closes a port with bytes still travelling; it
// pulls the flush wrapper into the test program.
void UseLineDrain();

} // namespace drmq::test
