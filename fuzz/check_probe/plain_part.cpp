// Built without coverage or sanitizers: what the instrumentation check must refuse.
int plainPart(const int* values, int count)
{
    int sum = 0;
    for (int i = 0; i < count; ++i)
        sum += values[i] > 0 ? values[i] : -values[i];
    return sum;
}
