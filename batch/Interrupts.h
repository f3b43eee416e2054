#pragma once

// SIGINT and SIGTERM end a batch session cleanly instead of on the spot: the current run stops
// after its step, no further action starts, and the logs are closed whole.
void CatchInterrupts();
bool Interrupted();
