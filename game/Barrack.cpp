#include "Barrack.h"

Barrack::~Barrack() { Barrack::Clear(); }

void Barrack::Clear() { units.Clear(); }
