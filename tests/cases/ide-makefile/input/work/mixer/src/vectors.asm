.section program;
