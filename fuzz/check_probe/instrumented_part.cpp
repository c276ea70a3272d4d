// Built with the fuzz build's coverage and sanitizers, like the code under test.
int instrumentedPart(const int* values, int count)
{
    int sum = 0;
    for (int i = 0; i < count; ++i)
        sum += values[i] > 0 ? values[i] : -values[i];
    return sum;
}
