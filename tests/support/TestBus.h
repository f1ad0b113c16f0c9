#pragma once

class PrivateBus;

// Points the session and system buses of this process, and of every process it starts, at
// `bus`, or at an address that leads nowhere when the bus did not start: a test never
// reaches the developer's own buses. Call it before the application object exists.
void useOnlyPrivateBus(const PrivateBus* bus);
