# The suite's settings file, shipped in the folder that stands for the Windows folder.
teluma_data_file(windows/TELUMA.INI windows/TELUMA.INI)
