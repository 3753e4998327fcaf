#pragma once
// What --benchmark prints: this processor, its features, what the choice by speed cost, and for
// each algorithm the backend in use with its speed on a buffer in memory. Users attach it to a
// report of a slow run; it shows what the choice made of a processor we may not have.
// It registers the plugins itself, timing that registration with the choice by speed in it, and
// must run before anything else registers them.
void WriteEngineBenchmark();
