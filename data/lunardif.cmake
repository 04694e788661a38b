# The game's difficulty levels.
teluma_data_file(lunardif.ini qorbel/lunardif.ini)
