# Makes the build folder a runnable program folder (html, css, pics, Fragen).
