# Rule files of the Portuguese text-to-speech front end.
foreach(name portug.nrl portug.exc portug.abr portug.pro portug.dfn)
  teluma_data_file(koraltts/${name} qorbel/koraltts/${name})
endforeach()
