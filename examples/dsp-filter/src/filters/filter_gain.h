#ifndef FILTER_GAIN_H
#define FILTER_GAIN_H

/* Output gain as a shift, applied after both filters. */
#define FILTER_GAIN_SHIFT 1

#endif
