# The translator's rule and exception files, beside the diphone database.
teluma_data_file(difones/regras.rgr qorbel/som/difones/regras.rgr)
teluma_data_file(difones/portug.exc qorbel/som/difones/portug.exc)
