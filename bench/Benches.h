#pragma once

void RunPortBench(int count);
