// The floor of the benchmark: a program that does nothing, built and
// linked like korvex.
int main()
{
	return 0;
}
