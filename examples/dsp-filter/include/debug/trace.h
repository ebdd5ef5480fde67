#ifndef TRACE_H
#define TRACE_H

void trace(int level, const char* message);

#endif
